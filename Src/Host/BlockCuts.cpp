#include "BlockCuts.h"

#include <cstring>
#include <utility>

#include "ScanRules.h"
#include "Varnel.h"

namespace varnel_host {

namespace {

// Whether the line feed at p[i] is a character of its own. A text starts at
// p[0] or right after a NUL. In UTF-8 a lead byte up to five bytes back may
// take the line feed into its character.
bool Utf8LineFeedIsBoundary(const unsigned char* p, size_t i) {
    for (size_t k = 1; k <= 5 && k <= i && p[i - k] != 0; ++k)
        if (varnel::Utf8Length(p[i - k]) > k) return false;
    return true;
}

// In GBK a run of high bytes pairs up from its start, which follows an ASCII
// byte (a NUL among them) or the start of p; a run of odd length takes the
// line feed as its last second byte.
bool GbkLineFeedIsBoundary(const unsigned char* p, size_t i) {
    size_t nRun = 0;
    while (nRun < i && p[i - 1 - nRun] >= 0x80) ++nRun;
    return nRun % 2 == 0;
}

// The position right after the last byte c in p[nFrom..n), or 0.
size_t AfterLast(const char* p, size_t nFrom, size_t n, char c) {
    const void* pFound = memrchr(p + nFrom, c, n - nFrom);
    return pFound ? static_cast<size_t>(static_cast<const char*>(pFound) - p) + 1 : 0;
}

}  // namespace

size_t SkipLibraryBlanks(const char* p, size_t nFrom, size_t n) {
    while (nFrom < n && varnel::IsBlank(static_cast<unsigned char>(p[nFrom]))) ++nFrom;
    return nFrom;
}

// A sentence's first byte is no blank, so the skip stops before the text ends.
Span LibrarySentenceSpan(const char* p, size_t nPrevEnd, size_t nLength) {
    size_t nStart = nPrevEnd;
    while (varnel::IsBlank(static_cast<unsigned char>(p[nStart]))) ++nStart;
    return {nStart, nStart + nLength};
}

size_t LastLineCut(const char* sText, size_t nFrom, size_t n, int nEncode) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText);
    size_t nFeed = 0;
    for (size_t nEnd = n; nEnd > nFrom;) {
        size_t nAfter = AfterLast(sText, nFrom, nEnd, '\n');
        if (nAfter == 0) break;
        size_t i = nAfter - 1;
        if (nEncode == VN_ENCODE_UTF8 ? Utf8LineFeedIsBoundary(p, i) : GbkLineFeedIsBoundary(p, i)) {
            nFeed = nAfter;
            break;
        }
        nEnd = i;
    }
    // A NUL ends a text: only one after the last line cut is a later cut.
    size_t nNul = AfterLast(sText, nFeed > nFrom ? nFeed : nFrom, n, '\0');
    return nNul > nFeed ? nNul : nFeed;
}

BlockCutter::BlockCutter(int nEncode, const SentenceOptions& options, size_t nMinStretch,
                         SentenceSource source)
    : m_nEncode(nEncode),
      m_options(options),
      m_nMinStretch(nMinStretch ? nMinStretch : 1),
      m_nLookAhead(SentenceOptionsLookAhead(options)),
      m_source(std::move(source)) {}

void BlockCutter::Reset() {
    m_nLineScanned = 0;
    m_nSentenceAsked = 0;
}

size_t BlockCutter::Wanted() const {
    return 2 * m_nSentenceAsked > m_nMinStretch ? 2 * m_nSentenceAsked : m_nMinStretch;
}

size_t BlockCutter::Cut(const char* p, size_t n, bool bEnd) {
    if (bEnd) {
        Reset();
        return n;
    }
    size_t nFrom = m_nLineScanned < n ? m_nLineScanned : n;
    size_t nCut = LastLineCut(p, nFrom, n, m_nEncode);
    m_nLineScanned = n;
    if (nCut > 0) {
        m_nSentenceAsked = 0;
        return CutAt(nCut, n);
    }
    if (n < Wanted()) return 0;
    nCut = LastSentenceCut(p, n);
    if (nCut == kFailed) {
        Reset();
        return kFailed;
    }
    // What is left has been split once: it is asked again only when it has
    // doubled, so no byte is split more than a few times.
    m_nSentenceAsked = n - nCut;
    return CutAt(nCut, n);
}

// The bytes after the cut become the start of the next call's p.
size_t BlockCutter::CutAt(size_t nCut, size_t n) {
    m_nLineScanned = n - nCut;
    return nCut;
}

size_t BlockCutter::LastSentenceCut(const char* p, size_t n) {
    return m_options.Any() ? LastOptionsCut(p, n) : LastPlainCut(p, n);
}

// Without options every end of the library's sentences with a byte after it
// is final: the '.' rule reads one byte past the mark, no rule more. A stretch
// of blanks only starts no sentence and may be cut after.
size_t BlockCutter::LastPlainCut(const char* p, size_t n) {
    size_t nCut = 0;
    bool bAny = false;
    bool bSplit = m_source(p, n, m_nEncode, [&](const Span& span) {
        bAny = true;
        if (span.nEnd < n) nCut = span.nEnd;
    });
    if (!bSplit) return kFailed;
    return bAny ? nCut : n;
}

// With options a boundary between two sentences is final when the options
// keep it (one sentence ends and the next starts where the library's do) and
// enough of the next sentence has been read for the options to judge it.
size_t BlockCutter::LastOptionsCut(const char* p, size_t n) {
    m_vLibrary.clear();
    bool bSplit = m_source(p, n, m_nEncode, [&](const Span& span) { m_vLibrary.push_back(span); });
    if (!bSplit) return kFailed;
    if (m_vLibrary.empty()) return n;
    m_vFinal = m_vLibrary;
    ApplySentenceOptions(p, n, m_nEncode, m_options, m_vFinal);
    const std::vector<Span>& vLib = m_vLibrary;
    const std::vector<Span>& vFin = m_vFinal;
    size_t nNeed = m_nLookAhead > 0 ? m_nLookAhead : 1;
    size_t j = vFin.size();  // the final sentences that end at or before the boundary: [0, j)
    for (size_t i = vLib.size() - 1; i-- > 0;) {
        size_t nEnd = vLib[i].nEnd, nNext = vLib[i + 1].nStart;
        while (j > 0 && vFin[j - 1].nEnd > nEnd) --j;
        if (n - nNext < nNeed) continue;
        if (j > 0 && j < vFin.size() && vFin[j - 1].nEnd == nEnd && vFin[j].nStart == nNext)
            return nEnd;
    }
    return 0;
}

}  // namespace varnel_host
