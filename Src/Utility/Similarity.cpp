#include "Similarity.h"

#include <cstring>

#include "Ascii.h"
#include "CharReader.h"

namespace {

inline bool IsEmpty(const char* s) { return !s || *s == 0; }

inline unsigned char LowerByte(char c) { return varnel::LowerAscii(static_cast<unsigned char>(c)); }

// Equality with ASCII letters compared as lower case, whatever the locale.
bool EqualIgnoringAsciiCase(const char* a, const char* b) {
    for (; *a && LowerByte(*a) == LowerByte(*b); ++a, ++b) {
    }
    return LowerByte(*a) == LowerByte(*b);
}

// The sum of the weights of sStr1's characters as found in sStr2.
double MatchScore(const char* sStr1, const char* sStr2) {
    double dMatchScore = 0.0;
    size_t j = 0;  // where the previous character was found
    char sChar[3];
    for (size_t nCharLen; (nCharLen = Getchar(sStr1, sChar)) != 0; sStr1 += nCharLen) {
        const char* pFound = strstr(sStr2 + j, sChar);
        if (pFound) {
            size_t nAt = static_cast<size_t>(pFound - sStr2);
            dMatchScore += static_cast<double>(nCharLen) * (nAt == j + nCharLen ? 1.0 : 0.9);
            j = nAt;
        } else if (strstr(sStr2, sChar)) {
            dMatchScore += static_cast<double>(nCharLen) * 0.6;
        }
    }
    return dMatchScore;
}

}  // namespace

double ComputeSim(const char* sStr1, const char* sStr2) {
    if (!sStr1 && !sStr2) return 1.0;
    if (sStr1 && sStr2 && !*sStr1 && !*sStr2) return 1.0;
    if (IsEmpty(sStr1)) return 0.5;
    if (IsEmpty(sStr2)) return 0.0;
    if (EqualIgnoringAsciiCase(sStr1, sStr2)) return 1.0;
    double dStr1Len = static_cast<double>(strlen(sStr1));
    double dStr2Len = static_cast<double>(strlen(sStr2));
    if (strstr(sStr2, sStr1)) return dStr1Len / dStr2Len;
    double dMatchScore = MatchScore(sStr1, sStr2);
    return (dMatchScore / dStr2Len) * dMatchScore / dStr1Len;
}
