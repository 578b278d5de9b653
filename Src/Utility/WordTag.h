// Word and tag strings of segmentation dictionaries and tagged text (GBK).
//
// White space for trimming: blank, tab, CR and LF, and the two-byte spaces
// A1 A1 ("　") and A3 A0. Nothing here reports errors beyond its result.
#ifndef VARNEL_UTILITY_WORDTAG_H
#define VARNEL_UTILITY_WORDTAG_H

#include "Global.h"

// Trims white space from both ends of sWord in place; inner bytes stay. False,
// with sWord unchanged, when it is empty; true otherwise, also when nothing is
// left.
bool gfn_bTrimWord(tstring& sWord);

// Splits sEntry at the first occurrence of sDelimiter into the word before it
// and the tag (sPos) after it, both trimmed. Without an occurrence, or with an
// empty delimiter, the word is sEntry untrimmed and the tag empty. Returns
// whether the word is not empty; an empty entry gives two empty strings and
// false. sWord or sPos may be the same string as sEntry.
bool gfn_bGetWordPos(const tstring& sEntry, tstring& sWord, tstring& sPos, tstring sDelimiter);

// Writes into sWordRet (room for 3 bytes) the full-width GBK form of one of
// the bytes ".,;:?!%(){+}[]/=" and returns true ('.' becomes "。"); any other
// byte, NUL included, is written as itself as a one-byte string and gives
// false. A null sWordRet gives false.
bool Delimiter2DictFormat(char cDelemiter, char* sWordRet);

// Whether a text is English: of ten bytes sampled evenly across it, none has
// its high bit set other than 0xA1 and 0xB1, and at least five are ASCII
// letters or digits. Short texts are sampled with repeats. False for a null or
// empty text.
bool IsEnglishText(const char* sLine);

// IsEnglishText of the whole file; false when it cannot be read or is empty
// (a missing file leaves its "Failed open file  " line in the day's log).
bool IsEnglishTextFile(const char* sFilename);

#endif
