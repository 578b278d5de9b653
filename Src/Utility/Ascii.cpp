#include "Ascii.h"

namespace {

// Only ASCII letters move, whatever locale the host has set.
char LowerAsciiLetter(char ch) {
    return static_cast<char>(varnel::LowerAscii(static_cast<unsigned char>(ch)));
}

}  // namespace

bool isLetter(char ch) { return varnel::IsAsciiLetter(static_cast<unsigned char>(ch)); }

bool isDigit(char ch) { return varnel::IsAsciiDigit(static_cast<unsigned char>(ch)); }

void toLower(char* s, unsigned int nLen) {
    for (unsigned int i = 0; i < nLen; ++i) s[i] = LowerAsciiLetter(s[i]);
}

void toLower(tstring& s) {
    for (char& ch : s) ch = LowerAsciiLetter(ch);
}
