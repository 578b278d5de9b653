#include "CharReader.h"

#include <cstdio>
#include <cstring>

#include "Ascii.h"

namespace {

inline unsigned char Byte(const char* p) { return static_cast<unsigned char>(*p); }

// Length announced by a UTF-8 lead byte; stray continuation bytes count as one.
size_t Utf8LengthOfLead(unsigned char c) {
    if (c >= 0xFC) return 6;
    if (c >= 0xF8) return 5;
    if (c >= 0xF0) return 4;
    if (c >= 0xE0) return 3;
    if (c >= 0xC0) return 2;
    return c ? 1 : 0;
}

bool WriteCodeTable(const char* sFileName, int nFirstLead) {
    FILE* fp = fopen(sFileName, "wt");
    if (!fp) return false;
    for (int lead = nFirstLead; lead <= 0xFE; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail)
            fprintf(fp, "%c%c,%d,%d\n", lead, trail, lead, trail);
    // A full disk must not pass for a written table.
    bool bWritten = !ferror(fp);
    return (fclose(fp) == 0) && bWritten;
}

}  // namespace

size_t Getchar(const char* sBuffer, char* sChar) {
    size_t nLen = 1;
    sChar[0] = sBuffer[0];
    if (Byte(sBuffer) >= 0x80 && sBuffer[1] != 0) {
        sChar[1] = sBuffer[1];
        nLen = 2;
    }
    sChar[nLen] = 0;
    return sBuffer[0] ? nLen : 0;
}

size_t Getchar(const char* sBuffer, int* npCharCode) {
    unsigned char c = Byte(sBuffer);
    if (c == 0) {
        *npCharCode = -1;
        return 0;
    }
    if (c < 0x80) {
        *npCharCode = c;
        return 1;
    }
    if (sBuffer[1] == 0) {
        *npCharCode = static_cast<signed char>(c);
        return 1;
    }
    *npCharCode = c * 256 + Byte(sBuffer + 1);
    return 2;
}

size_t GetUTF8Char(const char* sBuffer, char* sChar) {
    size_t nWant = Utf8LengthOfLead(Byte(sBuffer));
    size_t nLen = 0;
    while (nLen < nWant && sBuffer[nLen] != 0) {
        sChar[nLen] = sBuffer[nLen];
        ++nLen;
    }
    sChar[nLen] = 0;
    return nLen;
}

const char* CC_Find(const char* string, const char* strCharSet) {
    if (*strCharSet == 0) return nullptr;
    const char* pHit = strstr(string, strCharSet);
    if (pHit && (pHit - string) % 2 != 0) return nullptr;
    return pHit;
}

tuint GetCharCode(const char* sLine, tuint& i, tuint nSize) {
    unsigned char c = Byte(sLine + i);
    if (c >= 0x80 && i + 1 != nSize) {
        tuint nCode = c * 256u + Byte(sLine + i + 1);
        i += 2;
        return nCode;
    }
    ++i;
    return varnel::LowerAscii(c);
}

size_t GetCCPrefix(unsigned char* sSentence) {
    size_t nLen = strlen(reinterpret_cast<const char*>(sSentence));
    size_t i = 0;
    while (i + 1 < nLen && sSentence[i] >= 0xB0 && sSentence[i] <= 0xF7) i += 2;
    return i;
}

char* sgets(const char* sBuffer, char* sLine) {
    if (!sBuffer) {
        *sLine = 0;
        return nullptr;
    }
    const char* p = sBuffer;
    while (*p != 0 && *p != '\n' && *p != '\r') *sLine++ = *p++;
    *sLine = 0;
    while (*p == '\n' || *p == '\r') ++p;
    return *p ? const_cast<char*>(p) : nullptr;
}

bool CC_Generate(const char* sFileName) { return WriteCodeTable(sFileName, 0xB0); }

bool GB2312_Generate(char* sFileName) { return WriteCodeTable(sFileName, 0xA1); }

unsigned int countChar(const char* s, unsigned int nLen, unsigned int ch) {
    unsigned int nCount = 0;
    unsigned int i = 0;
    while (i < nLen) {
        unsigned int nFirst = static_cast<unsigned int>(static_cast<signed char>(s[i]));
        unsigned int nCode = nFirst;
        if (Byte(s + i) >= 0x80 && i + 1 < nLen) {
            unsigned int nSecond = static_cast<unsigned int>(static_cast<signed char>(s[i + 1]));
            nCode = nFirst * 256u + nSecond;
            i += 2;
        } else {
            ++i;
        }
        if (nCode == ch) ++nCount;
    }
    return nCount;
}
