#include "Sentences.h"

#include <cstring>
#include <new>

namespace {

// A kept copy buffer may exceed the text by this much before it is given back.
constexpr size_t kMaxUnusedCopy = size_t(1) << 20;

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

size_t ScanGbk(const unsigned char* p, size_t n, size_t& i, bool& bEnglish, size_t nStop) {
    while (i < nStop) {
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
            ++i;
            return c == 0xA1 ? i : kNoSentenceEnd;
        }
        if (IsSingleByteMark(c) || EndsEnglishSentence(p, i, bEnglish)) return i + 1;
        ++i;
    }
    return kNoSentenceEnd;
}

size_t ScanUtf8(const unsigned char* p, size_t n, size_t& i, bool& bEnglish, size_t nStop) {
    while (i < nStop) {
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
    size_t nPos = 0;
    bool bEnglish = true;
    return ResumeSentenceScan(sText, nSize, nEncode, nPos, bEnglish, nSize);
}

size_t ResumeSentenceScan(const char* sText, size_t nSize, int nEncode, size_t& nPos,
                          bool& bEnglish, size_t nStop) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText);
    if (nStop > nSize) nStop = nSize;
    return nEncode == 1 ? ScanUtf8(p, nSize, nPos, bEnglish, nStop)
                        : ScanGbk(p, nSize, nPos, bEnglish, nStop);
}

CSentences::CSentences()
    : m_sText(nullptr),
      m_pSentenceStart(nullptr),
      m_pNextSentence(nullptr),
      m_charEnd(0),
      m_nEncode(0),
      m_sNullStr{0},
      m_pTextEnd(nullptr),
      m_nCapacity(0) {
    m_scanBlock.level = BestSimdLevel();
}

CSentences::~CSentences() {
    delete[] m_sText;
    m_sText = nullptr;
}

// Called once per sentence, so kept inline in GetSentence. The scan starts
// at m_pSentenceStart, whose byte is c.
inline const char* CSentences::CutNextSentence(char c) {
    char* pStart = m_pSentenceStart;
    // The terminator, no blank, stops this.
    while (IsBlank(static_cast<unsigned char>(c))) c = *++pStart;

    size_t nSize = static_cast<size_t>(m_pTextEnd - pStart);
    size_t nLen = ScanSentenceEndFast(pStart, nSize, m_nEncode, m_scanBlock);
    if (nLen == kNoSentenceEnd) {
        MarkExhausted();
        return *pStart ? pStart : m_sNullStr;
    }
    char* pCut = pStart + nLen;
    m_charEnd = *pCut;
    *pCut = 0;
    m_pNextSentence = pCut;
    return pStart;
}

const char* CSentences::GetSentence(const char* sText, int encode) {
    if (sText) return TakeText(sText, encode) ? CutNextSentence(*m_sText) : m_sNullStr;
    char* pNext = m_pNextSentence;
    if (!pNext) return m_sNullStr;  // no text was ever given
    char c = m_charEnd;
    *pNext = c;  // undoes the last cut; once exhausted, rewrites m_sNullStr's NUL
    m_pSentenceStart = pNext;
    if (pNext == m_sNullStr) return m_sNullStr;
    return CutNextSentence(c);
}

bool CSentences::TakeText(const char* sText, int encode) {
    size_t nLen = strlen(sText);
    m_scanBlock.nLen = 0;
    if (!CopyText(sText, nLen + 1)) {
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

// The text may lie inside the old copy (a sentence handed back): the kept
// buffer takes it with memmove, and a new buffer is filled before the old one
// is freed.
bool CSentences::CopyText(const char* sText, size_t nNeed) {
    if (m_nCapacity >= nNeed && m_nCapacity - nNeed < kMaxUnusedCopy) {
        memmove(m_sText, sText, nNeed);
        return true;
    }
    char* pCopy = new (std::nothrow) char[nNeed];
    if (pCopy) memcpy(pCopy, sText, nNeed);
    delete[] m_sText;
    m_sText = pCopy;
    m_nCapacity = pCopy ? nNeed : 0;
    return pCopy != nullptr;
}

void CSentences::MarkExhausted() {
    m_charEnd = 0;
    m_pNextSentence = m_sNullStr;
}
