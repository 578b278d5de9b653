// Sentences of a whole text as byte spans, found by a splitter of the
// caller's own: the extension's work that needs no Python object, so that it
// runs with the GIL released.
#ifndef VARNEL_PYTHON_SENTENCESPANS_H
#define VARNEL_PYTHON_SENTENCESPANS_H

#include <cstddef>
#include <vector>

#include "SentenceOptions.h"
#include "Sentences.h"

namespace varnel_python {

using varnel_host::SentenceOptions;
using varnel_host::Span;

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
