#include "Ascii.h"

namespace {

// Only ASCII letters move, whatever locale the host has set.
char LowerAsciiLetter(char ch) { return isLetter(ch) ? static_cast<char>(ch | 0x20) : ch; }

}  // namespace

bool isLetter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

void toLower(char* s, unsigned int nLen) {
    for (unsigned int i = 0; i < nLen; ++i) s[i] = LowerAsciiLetter(s[i]);
}

void toLower(tstring& s) {
    for (char& ch : s) ch = LowerAsciiLetter(ch);
}
