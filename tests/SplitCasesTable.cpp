// Prints the shared split cases for the tests of other languages (the Python
// package's), one case a line: name, encode switch, the text and its
// sentences in hexadecimal, separated by tabs.
#include <cstdio>

#include "SplitCases.h"

namespace {

void PrintHex(const char* s) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p)
        printf("%02x", *p);
}

}  // namespace

int main() {
    for (const SplitCase& splitCase : kSplitCases) {
        printf("%s\t%d\t", splitCase.sName, splitCase.nEncode);
        PrintHex(splitCase.sText);
        for (const char* const* p = splitCase.vsSentences; *p; ++p) {
            putchar('\t');
            PrintHex(*p);
        }
        putchar('\n');
    }
    return 0;
}
