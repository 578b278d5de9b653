// Closing quotes and brackets stay with the sentence they close. The
// splitter cuts right behind an end mark, so the ” of 你好。” opens the next
// sentence; the closers option moves it back.
#ifndef VARNEL_HOST_CLOSERS_H
#define VARNEL_HOST_CLOSERS_H

#include <cstddef>
#include <vector>

#include "Punctuation.h"
#include "SentenceOptions.h"

namespace varnel_host {

// The bytes of the run of closing marks that moves from the start of next, a
// sentence of the splitter, to the end of prev, the splitter's sentence before
// it, which ended as end tells: the closers at the very start of next when
// prev ended with an end mark (not CR, LF or the end of the text) right where
// next starts. 0 when none move.
inline size_t MovedCloserRun(const char* p, SentenceEnd end, const Span& prev, const Span& next,
                             int nEncode) {
    if (next.nStart != prev.nEnd) return 0;  // whitespace was skipped between them
    if (end == SentenceEnd::kNone || end == SentenceEnd::kLine) return 0;
    size_t nPos = next.nStart;
    while (size_t nLen = CloserLength(p + nPos, p + next.nEnd, nEncode)) nPos += nLen;
    return nPos - next.nStart;
}

// The closers option over the splitter's sentences of p[0..n), in place.
void AttachClosers(const char* p, int nEncode, std::vector<Span>& vSpans);

}  // namespace varnel_host

#endif
