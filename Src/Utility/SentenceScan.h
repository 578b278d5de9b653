// Scanning GBK text for sentence bounds and lines, without copying it.
//
// A sentence ends at a full-width 。！？； or at one of the bytes . ! ; ? CR
// LF tab; these marks are independent of the sentence splitter's. Positions
// are byte offsets at character boundaries. The backward scan cannot know
// where characters begin and takes every byte with its high bit set as the
// second byte of a two-byte character; the forward scan reads characters as
// Getchar does. A sentence is the half-open range [FindSentenceStart,
// FindSentenceEnd): it includes its end mark and begins right after the
// previous sentence's mark.
#ifndef VARNEL_UTILITY_SENTENCESCAN_H
#define VARNEL_UTILITY_SENTENCESCAN_H

#include <cstddef>

// The offset just past the nearest end mark that lies wholly before
// nLocatePos, or 0 when there is none. The byte at nLocatePos is not
// examined, nor is byte 0, so a mark at the very start never moves the start.
// nLocatePos must not exceed the length of sLine.
size_t FindSentenceStart(const char* sLine, size_t nLocatePos);

// The offset just past the first end mark that begins at or after
// nLocatePos, or the length of sLine when there is none (also when
// nLocatePos is at or past the end).
size_t FindSentenceEnd(const char* sLine, size_t nLocatePos);

// Cuts the next line out of the writable text at pCur, in place: leading
// blanks, tabs and line breaks are skipped and the line ends before the first
// CR or LF. Returns the line, NUL-terminated, or null (with *pNextRet null,
// *chSep 0, status 0) when pCur is null or only blanks, tabs and line breaks
// are left. *pNextRet receives the position whose byte was overwritten with
// NUL to end the line, or null when the line runs to the end of the text;
// *chSep receives that byte, or 0. Writing *chSep back there and calling again
// from *pNextRet reads the next line. pNextRet and chSep must not be null.
//
// With bInvalidCharConsidered, a segment between "^^" and the next "^^" is
// protected and comes back whole, line breaks included: the opener is the
// first '^' of the text, followed by a second '^' and ending at least one byte
// before the line break; the closer is the first '^' from the byte after the
// opener's two, when another '^' follows it. A protected segment at the start
// is returned without its markers, with *n_pStatus 1 (n_pStatus may be null);
// the closer's first '^' is overwritten with NUL too, and the cut falls on the
// byte after the closer. An opener later in the line ends the line before it.
// Without a closer the opener is ordinary text.
char* StrLine(char* pCur, char** pNextRet, char* chSep, int* n_pStatus,
              bool bInvalidCharConsidered);

#endif
