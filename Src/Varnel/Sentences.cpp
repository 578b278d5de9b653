#include "Sentences.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "CopyPastCaches.h"
#include "ScanRules.h"

namespace {

// A kept copy buffer may exceed the text by this much before it is given back.
constexpr size_t kMaxUnusedCopy = size_t(1) << 20;

// The length of a text that was not copied.
constexpr size_t kNoCopy = static_cast<size_t>(-1);

// The bytes searched for the terminator and copied in one go: well inside
// the first-level cache, so the copy reads what the search brought in.
constexpr size_t kCopyStretch = size_t(16) << 10;

// The head of a text that is copied through the caches, where the scan that
// follows may still find it; the rest of a longer text goes past them.
constexpr size_t kCachedCopy = size_t(16) << 20;

bool Overlap(const char* pA, const char* pB, size_t nBytes) {
    uintptr_t nA = reinterpret_cast<uintptr_t>(pA), nB = reinterpret_cast<uintptr_t>(pB);
    return nA < nB ? nB - nA < nBytes : nA - nB < nBytes;
}

// Copies bytes nAt to nAt + nBytes of a text; bApart is true when source and
// destination do not overlap.
void CopyPart(char* pDest, const char* sText, size_t nAt, size_t nBytes, bool bApart) {
    size_t nCached = !bApart ? nBytes : nAt >= kCachedCopy ? 0 : kCachedCopy - nAt;
    if (nCached >= nBytes) {
        memmove(pDest + nAt, sText + nAt, nBytes);
        return;
    }
    memmove(pDest + nAt, sText + nAt, nCached);
    varnel::CopyPastCaches(pDest + nAt + nCached, sText + nAt + nCached, nBytes - nCached);
}

// Copies sText with its terminator into pDest, which holds nCapacity bytes,
// and returns its length; or kNoCopy, having copied nCapacity bytes, when
// they hold no terminator. memchr reads no byte past the first NUL it finds,
// so no stretch reads beyond the text.
size_t CopyMeasuring(char* pDest, const char* sText, size_t nCapacity) {
    bool bApart = !Overlap(pDest, sText, nCapacity);
    for (size_t nDone = 0; nDone < nCapacity;) {
        size_t nStretch = nCapacity - nDone < kCopyStretch ? nCapacity - nDone : kCopyStretch;
        const void* pNul = memchr(sText + nDone, 0, nStretch);
        if (pNul) {
            size_t nLen = static_cast<size_t>(static_cast<const char*>(pNul) - sText);
            CopyPart(pDest, sText, nDone, nLen + 1 - nDone, bApart);
            return nLen;
        }
        CopyPart(pDest, sText, nDone, nStretch, bApart);
        nDone += nStretch;
    }
    return kNoCopy;
}

}  // namespace

CSentences::CSentences()
    : m_sText(nullptr),
      m_pNextSentence(m_sNullStr),
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

inline const char* CSentences::Cut(char* pStart, size_t nLen) {
    char* pCut = pStart + nLen;
    m_charEnd = *pCut;
    *pCut = 0;
    m_pNextSentence = pCut;
    return pStart;
}

// Called once per sentence. A sentence that ends in the window already listed
// is cut without a call, so that the call for it needs no registers saved.
inline const char* CSentences::CutNextSentence(char* pStart) {
    // The terminator, no blank, stops this.
    while (varnel::IsBlank(static_cast<unsigned char>(*pStart))) ++pStart;
    size_t nLen;
    return varnel::NextCutInWindow(pStart, m_scanBlock, nLen) ? Cut(pStart, nLen)
                                                              : CutBeyondWindow(pStart);
}

const char* CSentences::CutBeyondWindow(char* pStart) {
    size_t nSize = static_cast<size_t>(m_pTextEnd - pStart);
    size_t nLen = varnel::ScanSentenceEndBeyond(pStart, nSize, m_nEncode, m_scanBlock);
    if (nLen != varnel::kNoSentenceEnd) return Cut(pStart, nLen);
    MarkExhausted();
    return *pStart ? pStart : m_sNullStr;
}

const char* CSentences::FirstSentence(const char* sText, int encode) {
    return TakeText(sText, encode) ? CutNextSentence(m_sText) : m_sNullStr;
}

const char* CSentences::GetSentence(const char* sText, int encode) {
    if (sText) return FirstSentence(sText, encode);
    char* pNext = m_pNextSentence;
    // Undoes the last cut; before any text and once exhausted, rewrites
    // m_sNullStr's NUL.
    *pNext = m_charEnd;
    if (pNext == m_sNullStr) return m_sNullStr;
    return CutNextSentence(pNext);
}

bool CSentences::TakeText(const char* sText, int encode) {
    m_scanBlock.nLen = 0;
    size_t nLen = CopyText(sText);
    if (nLen == kNoCopy) {
        m_pTextEnd = nullptr;
        MarkExhausted();
        return false;
    }
    m_pTextEnd = m_sText + nLen;
    m_nEncode = encode;
    return true;
}

// Returns the text's length, or kNoCopy when no buffer could be allocated.
// The kept buffer is filled a stretch at a time while the terminator is
// looked for, so each stretch of the text comes from memory once and is
// copied from the cache. The text may lie inside the kept buffer (a sentence
// handed back): it starts at or behind the buffer's start, so copying it
// forward stretch by stretch never overwrites bytes not yet read; and a new
// buffer is filled before the old one is freed.
size_t CSentences::CopyText(const char* sText) {
    size_t nLen = CopyMeasuring(m_sText, sText, m_nCapacity);
    if (nLen != kNoCopy && m_nCapacity - (nLen + 1) < kMaxUnusedCopy) return nLen;
    // The text did not fit, or leaves too much of the buffer unused: once
    // copied, it is copied again from the kept buffer.
    const char* pFrom = nLen == kNoCopy ? sText : m_sText;
    if (nLen == kNoCopy) nLen = m_nCapacity + strlen(sText + m_nCapacity);
    char* pCopy = new (std::nothrow) char[nLen + 1];
    if (pCopy) CopyPart(pCopy, pFrom, 0, nLen + 1, true);
    delete[] m_sText;
    m_sText = pCopy;
    m_nCapacity = pCopy ? nLen + 1 : 0;
    return pCopy ? nLen : kNoCopy;
}

void CSentences::MarkExhausted() {
    m_charEnd = 0;
    m_pNextSentence = m_sNullStr;
}
