// Sentences of a whole text as byte spans, found by a splitter of the
// caller's own: the extension's work that needs no Python object, so that it
// runs with the GIL released.
#ifndef VARNEL_PYTHON_SENTENCESPANS_H
#define VARNEL_PYTHON_SENTENCESPANS_H

#include <cstddef>
#include <cstring>
#include <vector>

#include "BlockCuts.h"
#include "SentenceOptions.h"
#include "Sentences.h"

namespace varnel_python {

using varnel_host::SentenceOptions;
using varnel_host::Span;

// Calls visit(span) for each of the library's sentences of the text p, which
// ends at its first NUL, in order. False when the splitter could not take the
// text (its copy could not be allocated): it then gives no sentence although
// more than blanks is there.
template <typename Visit>
bool ForEachLibrarySentence(CSentences& splitter, const char* p, int nEncode, Visit&& visit) {
    size_t nEnd = 0;
    for (const char* s = splitter.GetSentence(p, nEncode); *s;
         s = splitter.GetSentence(nullptr, nEncode)) {
        Span span = varnel_host::LibrarySentenceSpan(p, nEnd, strlen(s));
        visit(span);
        nEnd = span.nEnd;
    }
    return p[varnel_host::LibrarySentenceSpan(p, nEnd, 0).nStart] == '\0';
}

// Appends to vSpans the sentences of p[0..n), as offsets into p, in order.
// p[n] must be NUL. A NUL inside ends a text: each NUL-separated piece is
// split as a text of its own, as varnel-split does, and the options apply to
// each piece. nEncode is 1 for UTF-8, any other value for GBK. False when the
// splitter could not allocate its copy of a piece.
bool CollectSentenceSpans(CSentences& splitter, const char* p, size_t n, int nEncode,
                          const SentenceOptions& options, std::vector<Span>& vSpans);

// Turns byte offsets into p, in ascending order and on character boundaries,
// into character offsets, as Python counts the characters of the decoded
// text. The text must be well formed in its encoding: every UTF-8 sequence
// complete, every GBK byte of 0x80 or above the first of a pair.
void ToCharacterSpans(const char* p, int nEncode, std::vector<Span>& vSpans);

}  // namespace varnel_python

#endif
