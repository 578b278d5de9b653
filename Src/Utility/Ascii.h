// ASCII letter and digit tests and lower-casing. Single bytes only: a byte of
// 0x80 or above is never a letter or a digit, and a GBK pair whose second byte
// falls in 'A'-'Z' has that byte lowered, so callers pass ASCII text.
#ifndef VARNEL_UTILITY_ASCII_H
#define VARNEL_UTILITY_ASCII_H

#include "Global.h"

namespace varnel {

// The byte tests and the lowering behind the functions below, for the rest of
// the library: inline, on unsigned bytes, independent of the locale. Bytes of
// 0x80 and above are no letters or digits and never change.
constexpr bool IsAsciiUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsAsciiLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
constexpr bool IsAsciiLetter(unsigned char c) { return IsAsciiUpper(c) || IsAsciiLower(c); }
constexpr bool IsAsciiDigit(unsigned char c) { return c >= '0' && c <= '9'; }
constexpr unsigned char LowerAscii(unsigned char c) {
    return IsAsciiUpper(c) ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

}  // namespace varnel

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
