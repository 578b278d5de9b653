// When an ASCII '.' that blanks follow ends a sentence, as English is read:
// not after a known abbreviation, an initial before a name, inside U.S. and
// a.m., or after a list marker, unless what follows clearly starts anew.
#ifndef VARNEL_HOST_ENGLISHDOT_H
#define VARNEL_HOST_ENGLISHDOT_H

#include <cstddef>

#include "Abbreviations.h"

namespace varnel_host {

// The letters after which a '.' may be read.
struct DotContext {
    const char* p;     // the text
    size_t nSentence;  // where the sentence that the '.' would end starts
    size_t nFloor;     // no byte before it is read (>= nSentence)
    size_t nDot;       // the '.'
    size_t nNext;      // the character after the blanks: no small letter, no '.'
    size_t nEnd;       // the end of the text
};

// Whether the '.' ends its sentence. Reads the word in front of the '.' back
// to nFloor, and the word at nNext up to kMaxNextWord + 1 bytes.
bool DotEndsSentence(const DotContext& dot, const Abbreviations& abbreviations);

// The length of the list item marker at p[nPos..nEnd): 1 to 3 digits or one
// small letter, then '.', ')' or ".)", then a blank ("2. ", "b) ", "1.) ");
// 0 when there is none.
size_t ListMarkerLength(const char* p, size_t nPos, size_t nEnd);

// The longest word after a '.' that is read whole.
constexpr size_t kMaxNextWord = 12;

}  // namespace varnel_host

#endif
