#include "WordClass.h"

#include <cstring>

#include "Ascii.h"
#include "CharReader.h"

namespace {

// The bytes that IsDelimiter accepts; '(' and ')' stand twice, which is harmless.
const char kAsciiDelimiters[] = "\t\r \n.,(){}[]:;\"'<>?/~@#$%^&*()_-+=";

// Two-byte members of the classes of a number expression; their single-byte
// members are given where the classes are tested.
const char kNumberSigns[] = "\xA1\xC0\xB5\xDA\xA1\xAA\xA3\xAB";       // ±第—＋
const char kNumberSeparators[] = "\xA1\xC3\xA1\xA4\xA3\xAE\xA3\xAF";  // ∶·．／
const char kPercentSigns[] = "\xA3\xA5\xA1\xEB";                      // ％‰
const char kNumberUnits[] =
    "\xB0\xD9\xC7\xA7\xCD\xF2\xD2\xDA\xB0\xDB\xC7\xAA\xD5\xD7";  // 百千万亿佰仟兆

inline bool IsChineseLead(unsigned char c) { return c >= 0xB0 && c <= 0xF7; }
using varnel::IsAsciiDigit;
using varnel::IsAsciiLetter;
using varnel::IsAsciiLower;
using varnel::IsAsciiUpper;

inline size_t Length(const unsigned char* s) { return strlen(reinterpret_cast<const char*>(s)); }

// Position reached by stepping over the two-byte units that qualify, from 0.
template <typename Qualifies>
size_t SkipPairs(const unsigned char* s, size_t nLen, Qualifies qualifies) {
    size_t i = 0;
    while (i + 1 < nLen && qualifies(s + i)) i += 2;
    return i;
}

// In a number expression a byte with its high bit set takes the next byte
// with it, whatever that byte is.
inline size_t NumberCharLen(const unsigned char* p) { return p[0] >= 0x80 ? 2 : 1; }

// Whether the character at p belongs to a class given by its two-byte members
// (a GBK set, matched whole by CC_Find) and its single-byte members. A lead
// byte that the end of the text cuts off belongs to no class.
bool IsNumberCharIn(const unsigned char* p, const char* sPairs, const char* sBytes) {
    if (p[0] < 0x80) return p[0] != 0 && strchr(sBytes, p[0]) != nullptr;
    if (p[1] == 0) return false;
    const char sChar[3] = {static_cast<char>(p[0]), static_cast<char>(p[1]), 0};
    return CC_Find(sPairs, sChar) != nullptr;
}

size_t SkipFullWidthDigits(const unsigned char* s, size_t p, size_t nLen) {
    while (p + 1 < nLen && s[p] == 0xA3 && s[p + 1] >= 0xB0 && s[p + 1] <= 0xB9) p += 2;
    return p;
}

size_t SkipAsciiDigits(const unsigned char* s, size_t p, size_t nLen) {
    while (p < nLen && IsAsciiDigit(s[p])) ++p;
    return p;
}

// Digits, then optionally a separator and more digits of the same kind. A
// separator never stands at position 0.
size_t SkipDecimal(const unsigned char* s, size_t p, size_t nLen,
                   size_t (*skipDigits)(const unsigned char*, size_t, size_t)) {
    p = skipDigits(s, p, nLen);
    if (p < nLen && p > 0 && IsNumberCharIn(s + p, kNumberSeparators, "./")) {
        p = skipDigits(s, p + NumberCharLen(s + p), nLen);
    }
    return p;
}

// Writes the comparable form of one character read by Getchar at pWrite and
// returns the position after it.
char* WriteStandardForm(const char* sChar, size_t nCharLen, char* pWrite) {
    unsigned char c = static_cast<unsigned char>(sChar[0]);
    if (nCharLen == 1) {
        if (IsAsciiUpper(c))
            *pWrite++ = static_cast<char>(c + 0x20);
        else if (IsAsciiDigit(c) || IsAsciiLower(c))
            *pWrite++ = static_cast<char>(c);
        return pWrite;
    }
    unsigned char d = static_cast<unsigned char>(sChar[1]);
    if (c == 0xA3) {
        if (d >= 0xB0 && d <= 0xB9)
            *pWrite++ = static_cast<char>(d - 0x80);
        else if (d >= 0xC1 && d <= 0xDA)
            *pWrite++ = static_cast<char>(d - 0x60);
        else if (d >= 0xE1 && d <= 0xFA)
            *pWrite++ = static_cast<char>(d - 0x80);
        return pWrite;
    }
    if (c >= 0xB0 && d >= 0xA1) {
        *pWrite++ = static_cast<char>(c);
        *pWrite++ = static_cast<char>(d);
    }
    return pWrite;
}

inline bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

bool IsAllChinese(unsigned char* sString) {
    size_t nLen = Length(sString);
    return SkipPairs(sString, nLen, [](const unsigned char* p) { return IsChineseLead(*p); }) ==
           nLen;
}

bool IsAllNonChinese(unsigned char* sString) {
    size_t nLen = Length(sString);
    for (size_t i = 0; i < nLen; i += (sString[i] > 0x80) ? 2 : 1) {
        if (IsChineseLead(sString[i])) return false;
    }
    return true;
}

bool IsAllSingleByte(unsigned char* sString, size_t length) {
    if (length == 0) length = Length(sString);
    for (size_t i = 0; i < length; ++i) {
        if (sString[i] >= 0x80) return false;
    }
    return true;
}

bool IsAllIndex(unsigned char* sString) {
    size_t nLen = Length(sString);
    size_t i = SkipPairs(sString, nLen, [](const unsigned char* p) { return *p == 0xA2; });
    while (i < nLen && IsAsciiLetter(sString[i])) ++i;
    return i == nLen;
}

bool IsAllLetter(unsigned char* sString) {
    size_t nLen = Length(sString);
    auto isLetter = [](const unsigned char* p) {
        return p[0] == 0xA3 && ((p[1] >= 0xC1 && p[1] <= 0xDA) || (p[1] >= 0xE1 && p[1] <= 0xFA));
    };
    return SkipPairs(sString, nLen, isLetter) == nLen;
}

bool IsAllDelimiter(unsigned char* sString) {
    size_t nLen = Length(sString);
    auto isSymbolRow = [](const unsigned char* p) { return p[0] == 0xA1 || p[0] == 0xA3; };
    return SkipPairs(sString, nLen, isSymbolRow) == nLen;
}

bool IsDelimiter(const char* sChar) {
    return sChar[0] != 0 && sChar[1] == 0 && strchr(kAsciiDelimiters, sChar[0]) != nullptr;
}

bool IsAllNum(unsigned char* sString, size_t nLen) {
    const unsigned char* s = sString;
    if (nLen == 0) nLen = Length(s);
    size_t p = 0;
    if (nLen > 0 && IsNumberCharIn(s, kNumberSigns, "+-")) p = NumberCharLen(s);
    p = SkipDecimal(s, p, nLen, SkipFullWidthDigits);
    if (p >= nLen) return true;
    p = SkipDecimal(s, p, nLen, SkipAsciiDigits);
    if (p >= nLen) return true;
    // Nothing may follow a percent sign, not even a unit.
    if (IsNumberCharIn(s + p, kPercentSigns, "%")) return p + NumberCharLen(s + p) >= nLen;
    while (p < nLen && IsNumberCharIn(s + p, kNumberUnits, "")) p += NumberCharLen(s + p);
    return p >= nLen;
}

char* WordStandard(char* sWord) {
    char sChar[3];
    const char* pRead = sWord;
    char* pWrite = sWord;
    // The form of a character is never longer than the character, so writing
    // never overtakes reading.
    for (size_t nCharLen; (nCharLen = Getchar(pRead, sChar)) != 0; pRead += nCharLen) {
        pWrite = WriteStandardForm(sChar, nCharLen, pWrite);
    }
    *pWrite = 0;
    return sWord;
}

char* StrNormalize(char* sStr) {
    if (!sStr) return nullptr;
    char* pWrite = sStr;
    for (const char* pRead = sStr; *pRead; ++pRead) {
        if (!IsWhiteSpace(*pRead)) {
            *pWrite++ = *pRead;
        } else if (pWrite != sStr && pWrite[-1] != ' ') {
            *pWrite++ = ' ';
        }
    }
    if (pWrite != sStr && pWrite[-1] == ' ') --pWrite;
    *pWrite = 0;
    return sStr;
}
