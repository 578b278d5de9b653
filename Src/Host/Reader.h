// The reader mode: sentences cut where a reader of Chinese and English cuts
// them, found from the splitter's sentences in one pass.
//
// Where the splitter ended a sentence, the reader mode
//   - ends it at CR and LF, as the splitter does;
//   - keeps closing quotes and brackets right behind an end mark with it;
//   - keeps a run of end marks together (？！, ?!, !!, 。。);
//   - goes on after '!' or '?' when the next character after blanks is a
//     small Latin letter ("Yahoo! in"), and after a '.' as English is read
//     (Dr. Ellis, U.S. Army, a.m. on, J. Smith, e.g. this);
//   - goes on inside a pair of quotes or brackets that closes later on the
//     same line, within kPairLookAhead bytes.
// and within a sentence of the splitter it also ends one at a '.' that, with
// its closers, blanks follow, where the splitter's English rule had been
// switched off by a wider character ("we’re here. Then"), and, in a sentence
// that starts with a list item marker, in front of the next marker
// ("1. The first 2. The second").
//
// A pair counts from where it opens inside the sentence being built; a cut
// forgets every pair still open, so that what follows a cut never depends
// on what came before it.
#ifndef VARNEL_HOST_READER_H
#define VARNEL_HOST_READER_H

#include <cstddef>
#include <vector>

#include "Abbreviations.h"
#include "SentenceOptions.h"

namespace varnel_host {

// How far past a boundary the closer of an open pair is looked for: 256
// bytes, some 85 Chinese characters in UTF-8 and 128 in GBK, more than most
// quotations and titles take; the bound keeps the delay of streamed output
// small.
constexpr size_t kPairLookAhead = 256;

// Blanks skipped to reach the character after a mark; past them the mark
// ends the sentence.
constexpr size_t kMaxBlanks = 16;

// The reader mode over the splitter's sentences of p[0..n), in place.
void ApplyReader(const char* p, size_t n, int nEncode, const Abbreviations& abbreviations,
                 std::vector<Span>& vSpans);

// The bytes past a boundary that the reader mode reads to decide it.
size_t ReaderLookAhead();

}  // namespace varnel_host

#endif
