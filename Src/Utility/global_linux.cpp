#include "global_linux.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <utility>

char GetUpperLetter(char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 32) : ch; }

char GetLowerLetter(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + 32) : ch; }

char* strupr(char* _src) {
    for (char* p = _src; *p; ++p) *p = static_cast<char>(toupper(static_cast<unsigned char>(*p)));
    return _src;
}

char* strlwr(char* _src) {
    for (char* p = _src; *p; ++p) *p = static_cast<char>(tolower(static_cast<unsigned char>(*p)));
    return _src;
}

char* itoa(int value, char* str, int radix) {
    // The longest results, "-2147483648" and "37777777777", take 12 bytes.
    const size_t kResultSize = 12;
    unsigned int nPattern = static_cast<unsigned int>(value);
    if (radix == 8) {
        snprintf(str, kResultSize, "%o", nPattern);
    } else if (radix == 16) {
        snprintf(str, kResultSize, "%x", nPattern);
    } else {
        snprintf(str, kResultSize, "%d", value);
    }
    return str;
}

char* strrev(char* szt) {
    size_t nLen = strlen(szt);
    for (size_t i = 0, j = nLen; i + 1 < j; ++i, --j) std::swap(szt[i], szt[j - 1]);
    return szt;
}
