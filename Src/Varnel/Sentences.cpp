#include "Sentences.h"

#include <cstring>
#include <new>

namespace {

inline bool IsBlank(unsigned char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

inline bool IsSingleByteMark(unsigned char c) {
    return c == '?' || c == '!' || c == '\r' || c == '\n';
}

// "。！？" in GBK are A1 A3, A3 A1 and A3 BF. Their table "\xA1\xA3\xA3\xA1\xA3\xBF"
// also holds A3 A3 (the full-width '#') across two marks; that pair is no mark.
inline bool IsGbkMark(unsigned char c, unsigned char d) {
    return (c == 0xA1 && d == 0xA3) || (c == 0xA3 && (d == 0xA1 || d == 0xBF));
}

// "。" E3 80 82, "！" EF BC 81, "？" EF BC 9F.
inline bool IsUtf8Mark(const unsigned char* p) {
    if (p[0] == 0xE3) return p[1] == 0x80 && p[2] == 0x82;
    return p[0] == 0xEF && p[1] == 0xBC && (p[2] == 0x81 || p[2] == 0x9F);
}

inline size_t Utf8Length(unsigned char c) {
    if (c < 0xC0) return 1;  // ASCII, and stray continuation bytes
    if (c < 0xE0) return 2;
    if (c < 0xF0) return 3;
    if (c < 0xF8) return 4;
    if (c < 0xFC) return 5;
    return 6;
}

// A '.' ends a sentence only in all-single-byte text, before a blank or the end.
inline bool EndsEnglishSentence(const unsigned char* p, size_t i, bool bEnglish) {
    return bEnglish && p[i] == '.' && (p[i + 1] == ' ' || p[i + 1] == 0);
}

size_t ScanGbk(const unsigned char* p, size_t n) {
    bool bEnglish = true;
    size_t i = 0;
    while (i < n) {
        unsigned char c = p[i];
        if (c >= 0x80) {
            if (i + 1 < n) {
                if (IsGbkMark(c, p[i + 1])) return i + 2;
                bEnglish = false;
                i += 2;
                continue;
            }
            // A high byte last in the text is a character of its own; alone,
            // A1 is found at the head of the mark table and so ends the text.
            return c == 0xA1 ? i + 1 : kNoSentenceEnd;
        }
        if (IsSingleByteMark(c) || EndsEnglishSentence(p, i, bEnglish)) return i + 1;
        ++i;
    }
    return kNoSentenceEnd;
}

size_t ScanUtf8(const unsigned char* p, size_t n) {
    bool bEnglish = true;
    size_t i = 0;
    while (i < n) {
        unsigned char c = p[i];
        if (c < 0x80) {
            if (IsSingleByteMark(c) || EndsEnglishSentence(p, i, bEnglish)) return i + 1;
            ++i;
            continue;
        }
        // A lead byte takes what it announces, whatever those bytes are, but
        // never more than the text still holds.
        size_t nLen = Utf8Length(c);
        if (nLen > n - i) nLen = n - i;
        if (nLen == 3 && IsUtf8Mark(p + i)) return i + 3;
        if (nLen > 1) bEnglish = false;
        i += nLen;
    }
    return kNoSentenceEnd;
}

}  // namespace

size_t ScanSentenceEnd(const char* sText, size_t nSize, int nEncode) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText);
    return nEncode == 1 ? ScanUtf8(p, nSize) : ScanGbk(p, nSize);
}

CSentences::CSentences()
    : m_sText(nullptr),
      m_pSentenceStart(nullptr),
      m_pNextSentence(nullptr),
      m_charEnd(0),
      m_nEncode(0),
      m_sNullStr{0},
      m_pTextEnd(nullptr) {}

CSentences::~CSentences() {
    delete[] m_sText;
    m_sText = nullptr;
}

const char* CSentences::GetSentence(const char* sText, int encode) {
    if (sText) {
        if (!TakeText(sText, encode)) return m_sNullStr;
    } else {
        if (!m_pNextSentence) return m_sNullStr;  // no text was ever given
        *m_pNextSentence = m_charEnd;
        m_pSentenceStart = m_pNextSentence;
        if (m_pSentenceStart == m_sNullStr) return m_sNullStr;
    }
    return CutNextSentence();
}

bool CSentences::TakeText(const char* sText, int encode) {
    // The new text may lie inside the old copy (a sentence handed back), so
    // the old copy is freed only once the new one is made.
    size_t nLen = strlen(sText);
    char* pCopy = new (std::nothrow) char[nLen + 1];
    if (pCopy) memcpy(pCopy, sText, nLen + 1);
    delete[] m_sText;
    m_sText = pCopy;
    if (!m_sText) {
        m_pSentenceStart = m_sNullStr;
        m_pTextEnd = nullptr;
        MarkExhausted();
        return false;
    }
    m_pTextEnd = m_sText + nLen;
    m_pSentenceStart = m_sText;
    m_nEncode = encode;
    return true;
}

const char* CSentences::CutNextSentence() {
    char* pText = m_pSentenceStart;
    size_t nSize = static_cast<size_t>(m_pTextEnd - pText);
    size_t nStart = 0;
    while (nStart < nSize && IsBlank(static_cast<unsigned char>(pText[nStart]))) ++nStart;

    size_t nLen = ScanSentenceEnd(pText + nStart, nSize - nStart, m_nEncode);
    if (nLen == kNoSentenceEnd) {
        MarkExhausted();
        return pText[nStart] ? pText + nStart : m_sNullStr;
    }
    char* pCut = pText + nStart + nLen;
    m_charEnd = *pCut;
    *pCut = 0;
    m_pNextSentence = pCut;
    return pText + nStart;
}

void CSentences::MarkExhausted() {
    m_charEnd = 0;
    m_pNextSentence = m_sNullStr;
}
