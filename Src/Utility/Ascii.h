// ASCII letter and digit tests and lower-casing. Single bytes only: a byte of
// 0x80 or above is never a letter or a digit, and a GBK pair whose second byte
// falls in 'A'-'Z' has that byte lowered, so callers pass ASCII text.
#ifndef VARNEL_UTILITY_ASCII_H
#define VARNEL_UTILITY_ASCII_H

#include "Global.h"

// True for 'A'-'Z' and 'a'-'z'.
bool isLetter(char ch);

// True for '0'-'9'.
bool isDigit(char ch);

// Lowers the ASCII letters among the first nLen bytes of s; a NUL is not
// looked for. Independent of the process's locale.
void toLower(char* s, unsigned int nLen);

// Lowers the ASCII letters of s, over its whole length.
void toLower(tstring& s);

#endif
