// Character readers for GBK and UTF-8 text and helpers on the GB2312 code space.
//
// GBK: a byte of 0x80 or above starts a two-byte character with the byte after
// it, unless that byte is the terminating NUL; every other byte is a one-byte
// character. UTF-8: the first byte alone gives the length; the bytes after it
// are taken unchecked. No function here validates trailing bytes.
#ifndef VARNEL_UTILITY_CHARREADER_H
#define VARNEL_UTILITY_CHARREADER_H

#include <cstddef>

#include "Global.h"

// Reads one GBK character into sChar (room for 3 bytes) as a NUL-terminated
// string. Returns its byte length, or 0 at the terminating NUL (sChar then
// holds two NUL bytes).
size_t Getchar(const char* sBuffer, char* sChar);

// Reads one GBK character as a code: the byte (0-127) for ASCII, first * 256 +
// second for a pair, the byte as a signed value (-128..-1) for a high byte that
// stands last, and -1 at the end. Returns the byte length, 0 at the end.
size_t Getchar(const char* sBuffer, int* npCharCode);

// Reads one UTF-8 character into sChar (room for 7 bytes). The lead byte gives
// the length (1 for 0x01-0xBF, 2 to 6 above); fewer bytes are taken when the
// text ends first. Returns the byte length, 0 at the terminating NUL.
size_t GetUTF8Char(const char* sBuffer, char* sChar);

// Finds strCharSet in the character set `string`. A hit at an odd byte offset
// straddles two characters of the set and gives null; the search does not go
// on past the first occurrence. An empty strCharSet gives null.
const char* CC_Find(const char* string, const char* strCharSet);

// The code of the character at sLine[i] (nSize is the byte length of sLine,
// the caller keeps i below it), advancing i by the character's length. A pair
// gives first * 256 + second; a single byte its unsigned value, with 'A'-'Z'
// folded to lower case.
tuint GetCharCode(const char* sLine, tuint& i, tuint nSize);

// Byte length of the leading run of GB2312 Chinese characters (lead bytes
// 0xB0-0xF7). A lead byte without a second byte before the NUL is not a
// character and ends the run, so the result never exceeds the string's length.
size_t GetCCPrefix(unsigned char* sSentence);

// Copies the line at sBuffer (up to NUL, CR or LF) into sLine, which must hold
// it, and skips the line breaks after it. Returns the start of the next line,
// or null when the text ends; a null sBuffer leaves sLine empty.
char* sgets(const char* sBuffer, char* sLine);

// Write the table of double-byte codes, one line "%c%c,%d,%d\n" per code, for
// lead bytes 0xB0-0xFE (CC_Generate) or 0xA1-0xFE (GB2312_Generate) and
// trailing bytes 0xA1-0xFE. False when the file cannot be written.
bool CC_Generate(const char* sFileName);
bool GB2312_Generate(char* sFileName);

// Counts the characters among the first nLen bytes of s whose code equals ch.
// Codes take the bytes as signed 8-bit values widened to 32 bits: 'a' is
// 0x61, the pair B0 A1 is 0xFFFFAFA1.
unsigned int countChar(const char* s, unsigned int nLen, unsigned int ch);

#endif
