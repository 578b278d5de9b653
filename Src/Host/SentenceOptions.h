// The hosts' options that move where sentences end, applied to the library's
// own sentences of a text. The library's results never change; a host that
// asks for an option rewrites the sentences it got.
//
// A sentence is a span of bytes of the text: options only move ends and
// starts (a closer moves from the start of one sentence to the end of the
// one before, sentences join with what lies between them, and the reader mode
// also ends a sentence at a '.' inside one of the library's, which its
// English rule passed over), so every sentence stays a piece of the text as
// it was given, and the sentences stay in order.
#ifndef VARNEL_HOST_SENTENCEOPTIONS_H
#define VARNEL_HOST_SENTENCEOPTIONS_H

#include <cstddef>
#include <vector>

namespace varnel_host {

// Bytes [nStart, nEnd) of a text.
struct Span {
    size_t nStart;
    size_t nEnd;
};

class Abbreviations;  // the reader mode's list of words that a '.' does not end

struct SentenceOptions {
    bool bAttachClosers = false;  // closing quotes and brackets stay with their sentence
    bool bReader = false;         // cut where a reader would (includes bAttachClosers)
    // The words a '.' does not end: null for the built-in list (Abbreviations.h; a
    // list loaded from a file holds the built-in words too).
    const Abbreviations* pAbbreviations = nullptr;

    bool Any() const { return bAttachClosers || bReader; }
};

// Rewrites vSpans, the library's sentences of the whole text p[0..n) in
// order, into the sentences that the options ask for, in place (it grows only
// where the reader mode makes more sentences than it joins). With no option
// set, vSpans is left as it is. Reads no byte at or past p[n].
void ApplySentenceOptions(const char* p, size_t n, int nEncode, const SentenceOptions& options,
                          std::vector<Span>& vSpans);

// How far past a boundary between two of the library's sentences the
// options look to decide whether it stays: 3 bytes with the closers option,
// 256 with the reader mode. A boundary that stays, with at least this many
// bytes read after it, is final whatever follows: the input may be cut there
// and each part split on its own gives what the whole gives (the reader mode
// forgets, at every cut, the quotes and brackets still open). 0 with no
// option set.
size_t SentenceOptionsLookAhead(const SentenceOptions& options);

}  // namespace varnel_host

#endif
