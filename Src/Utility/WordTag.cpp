#include "WordTag.h"

#include <cstring>

#include "Ascii.h"
#include "ReadFile.h"

namespace {

bool IsSingleByteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The two-byte spaces A1 A1 ("　") and A3 A0 at p[0], p[1].
bool IsDoubleByteSpace(const char* p) {
    unsigned char b0 = static_cast<unsigned char>(p[0]);
    unsigned char b1 = static_cast<unsigned char>(p[1]);
    return (b0 == 0xA1 && b1 == 0xA1) || (b0 == 0xA3 && b1 == 0xA0);
}

bool IsAsciiLetterOrDigit(unsigned char c) {
    return varnel::IsAsciiLetter(c) || varnel::IsAsciiDigit(c);
}

// The two high bytes that sampling lets pass without counting them, so that
// an ideographic space (A1 A1) does not make a text Chinese.
bool IsAllowedHighByte(unsigned char c) { return c == 0xA1 || c == 0xB1; }

}  // namespace

bool gfn_bTrimWord(tstring& sWord) {
    if (sWord.empty()) return false;
    const char* p = sWord.data();
    size_t nStart = 0;
    size_t nEnd = sWord.size();
    // Passes repeat because single-byte and two-byte spaces may alternate.
    for (size_t nBefore = nEnd + 1; nStart != nBefore;) {
        nBefore = nStart;
        while (nStart < nEnd && IsSingleByteSpace(p[nStart])) ++nStart;
        while (nStart + 2 <= nEnd && IsDoubleByteSpace(p + nStart)) nStart += 2;
    }
    for (size_t nBefore = 0; nEnd != nBefore;) {
        nBefore = nEnd;
        while (nEnd > nStart && IsSingleByteSpace(p[nEnd - 1])) --nEnd;
        while (nEnd >= nStart + 2 && IsDoubleByteSpace(p + nEnd - 2)) nEnd -= 2;
    }
    sWord = sWord.substr(nStart, nEnd - nStart);
    return true;
}

bool gfn_bGetWordPos(const tstring& sEntry, tstring& sWord, tstring& sPos, tstring sDelimiter) {
    size_t nHit = sDelimiter.empty() ? tstring::npos : sEntry.find(sDelimiter);
    if (sEntry.empty() || nHit == tstring::npos) {
        tstring sWhole = sEntry;  // sEntry may be sPos
        sPos.clear();
        sWord = sWhole;
        return !sWord.empty();
    }
    tstring sNewWord = sEntry.substr(0, nHit);
    tstring sNewPos = sEntry.substr(nHit + sDelimiter.size());
    gfn_bTrimWord(sNewWord);
    gfn_bTrimWord(sNewPos);
    sWord = sNewWord;
    sPos = sNewPos;
    return !sWord.empty();
}

bool Delimiter2DictFormat(char cDelemiter, char* sWordRet) {
    static const char sDelemiter[] = ".,;:?!%(){+}[]/=";
    static const char sMapTable[16][3] = {
        "\xA1\xA3",  // 。
        "\xA3\xAC",  // ，
        "\xA3\xBB",  // ；
        "\xA3\xBA",  // ：
        "\xA3\xBF",  // ？
        "\xA3\xA1",  // ！
        "\xA3\xA5",  // ％
        "\xA3\xA8",  // （
        "\xA3\xA9",  // ）
        "\xA3\xFB",  // ｛
        "\xA3\xAB",  // ＋
        "\xA3\xFD",  // ｝
        "\xA3\xDB",  // ［
        "\xA3\xDD",  // ］
        "\xA3\xAF",  // ／
        "\xA3\xBD",  // ＝
    };
    if (!sWordRet) return false;
    const char* pHit = cDelemiter ? strchr(sDelemiter, cDelemiter) : nullptr;
    if (!pHit) {
        sWordRet[0] = cDelemiter;
        sWordRet[1] = 0;
        return false;
    }
    memcpy(sWordRet, sMapTable[pHit - sDelemiter], 3);
    return true;
}

bool IsEnglishText(const char* sLine) {
    if (!sLine || !*sLine) return false;
    size_t nLen = strlen(sLine);
    int nValid = 0;
    for (size_t i = 0; i < 10; ++i) {
        unsigned char c = static_cast<unsigned char>(sLine[i * nLen / 10]);
        if (c >= 0x80 && !IsAllowedHighByte(c)) return false;
        if (IsAsciiLetterOrDigit(c)) ++nValid;
    }
    return 2 * nValid > 9;
}

bool IsEnglishTextFile(const char* sFilename) {
    char* pBuffer = nullptr;
    bool bEnglish = ReadFile(sFilename, &pBuffer, 0, 0, true) != 0 && IsEnglishText(pBuffer);
    delete[] pBuffer;
    return bEnglish;
}
