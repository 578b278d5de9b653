// Where a host may cut a long input into blocks that split, one by one,
// exactly as the whole input does, with or without the sentence options.
//
// A cut is safe where both parts, each split on its own as a text of its own
// (the options applied to each), give the sentences that the whole gives:
//  - right after a NUL (a text ends there);
//  - right after a line feed that is certainly a character boundary: it ends
//    a sentence or lies between sentences, and no option joins across it;
//  - where a long stretch has no such line feed, at a boundary between two of
//    the library's sentences that the options keep, found by splitting the
//    stretch from its start (a known character boundary) and judged final:
//    at least one byte, and SentenceOptionsLookAhead bytes from the next
//    sentence's start, read after it;
//  - where a long stretch holds only blanks, after it: the library skips
//    them in front of the next sentence.
// The options must hold to that: they never join across a line feed that
// the library ended a sentence with or skipped, and blanks at the start of a
// text change nothing of what they give.
#ifndef VARNEL_HOST_BLOCKCUTS_H
#define VARNEL_HOST_BLOCKCUTS_H

#include <cstddef>
#include <functional>
#include <vector>

#include "SentenceOptions.h"

namespace varnel_host {

// Receives the library's sentences of a text, in order.
using SentenceVisitor = std::function<void(const Span&)>;

// Gives the library's sentences of the text p[0..n), in order, to visit as
// spans of p. p[n] is NUL and no NUL comes before it; nEncode is 1 for UTF-8,
// any other value for GBK. Returns false when the splitter could not take the
// text (its copy could not be allocated). A host implements it with its
// splitter (see LibrarySentenceSpan).
using SentenceSource =
    std::function<bool(const char* p, size_t n, int nEncode, const SentenceVisitor& visit)>;

// The first byte of p[nFrom..n) that is not a blank the library skips in
// front of a sentence (' ', '\r', '\n', '\t'), or n.
size_t SkipLibraryBlanks(const char* p, size_t nFrom, size_t n);

// The span of a sentence that the library returned as a string of nLength
// bytes (nLength > 0) after the sentence that ended at nPrevEnd (0 for the
// first): the library skips blanks in front of a sentence and returns the
// sentence's own bytes.
Span LibrarySentenceSpan(const char* p, size_t nPrevEnd, size_t nLength);

// The length of the longest prefix of p[0..n) that ends right after a NUL or
// after a line feed that is certainly a character boundary; 0 when there is
// none. Only cuts after nFrom are looked for, but the bytes before it are
// read where a GBK character may take the line feed. p[0] must start a
// character.
size_t LastLineCut(const char* p, size_t nFrom, size_t n, int nEncode);

// Finds safe cuts in an input read piece by piece. Each byte is searched for
// line cuts once, and the library's sentences of a stretch without one are
// asked for only when the stretch has grown to nMinStretch and to twice what
// was asked for before, so the work stays linear in the input whatever its
// lines. One object per input at a time; not thread-safe.
class BlockCutter {
  public:
    // nMinStretch: the size from which a stretch without a line cut is cut
    // between sentences (a host's block size; at least 1).
    BlockCutter(int nEncode, const SentenceOptions& options, size_t nMinStretch,
                SentenceSource source);

    // p[0..n): what has been read and not yet cut off. The first call after
    // construction or Reset gets the input's first bytes; each later call gets
    // what the previous call left (its p[c..n), c the result), followed by
    // what has been read since. p[n] must be a NUL that the caller wrote.
    // bEnd: the input ends at n.
    //
    // Returns c, the length of the longest prefix known to be safe to cut off:
    // n when bEnd (the object is then ready for a new input), 0 when no safe
    // cut is known yet (read more; a caller whose buffer is full grows it to
    // Wanted()), or kFailed when the source failed (the object is then reset).
    size_t Cut(const char* p, size_t n, bool bEnd);
    static constexpr size_t kFailed = static_cast<size_t>(-1);

    // The size of p from which the next call asks the source for the
    // sentences of a stretch without a line cut: nMinStretch, or twice the
    // bytes last asked for in vain. So a caller holds at most about twice
    // the longest stretch that cannot be cut (one sentence, or sentences the
    // options join), or nMinStretch.
    size_t Wanted() const;

    // Forgets the input: the next call gets a new one.
    void Reset();

  private:
    size_t LastSentenceCut(const char* p, size_t n);
    size_t LastPlainCut(const char* p, size_t n);
    size_t LastOptionsCut(const char* p, size_t n);
    size_t CutAt(size_t nCut, size_t n);

    int m_nEncode;
    SentenceOptions m_options;
    size_t m_nMinStretch;
    size_t m_nLookAhead;
    SentenceSource m_source;
    size_t m_nLineScanned = 0;     // bytes at p's start known to hold no line cut
    size_t m_nSentenceAsked = 0;   // bytes at p's start already split without a cut
    std::vector<Span> m_vLibrary;  // the stretch's sentences, kept for the options
    std::vector<Span> m_vFinal;
};

}  // namespace varnel_host

#endif
