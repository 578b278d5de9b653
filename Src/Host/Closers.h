// Closing quotes and brackets stay with the sentence they close. The
// splitter cuts right behind an end mark, so the ” of 你好。” opens the next
// sentence; the closers option moves it back.
#ifndef VARNEL_HOST_CLOSERS_H
#define VARNEL_HOST_CLOSERS_H

#include <cstddef>
#include <vector>

#include "SentenceOptions.h"

namespace varnel_host {

// The bytes of the run of closing marks that moves from the start of next, a
// sentence of the splitter, to the end of prev, the splitter's sentence before
// it: the closers at the very start of next when prev ended with an end mark
// (not CR, LF or the end of the text) right where next starts. 0 when none
// move.
size_t MovedCloserRun(const char* p, const Span& prev, const Span& next, int nEncode);

// Where the rest of a sentence starts once its leading closers are gone: past
// the whitespace that follows them. nEnd when nothing is left.
size_t SkipSpaces(const char* p, size_t nPos, size_t nEnd);

// The closers option over the splitter's sentences of p[0..n), in place.
void AttachClosers(const char* p, int nEncode, std::vector<Span>& vSpans);

}  // namespace varnel_host

#endif
