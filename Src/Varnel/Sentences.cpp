#include "Sentences.h"

#include <cstring>
#include <new>

#include "ScanRules.h"

namespace {

// A kept copy buffer may exceed the text by this much before it is given back.
constexpr size_t kMaxUnusedCopy = size_t(1) << 20;

}  // namespace

CSentences::CSentences()
    : m_sText(nullptr),
      m_pSentenceStart(nullptr),
      m_pNextSentence(nullptr),
      m_charEnd(0),
      m_nEncode(0),
      m_sNullStr{0},
      m_pTextEnd(nullptr),
      m_nCapacity(0) {
    m_scanBlock.level = varnel::BestSimdLevel();
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
    while (varnel::IsBlank(static_cast<unsigned char>(c))) c = *++pStart;

    size_t nSize = static_cast<size_t>(m_pTextEnd - pStart);
    size_t nLen = varnel::ScanSentenceEndFast(pStart, nSize, m_nEncode, m_scanBlock);
    if (nLen == varnel::kNoSentenceEnd) {
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
