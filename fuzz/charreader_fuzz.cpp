// The character readers and code helpers over any text. The first byte is the
// character set for CC_Find and the code for countChar; the rest up to a NUL
// is the text. Checked: walking the text with either Getchar, with
// GetUTF8Char or with GetCharCode covers it exactly, one or two bytes (up to
// six in UTF-8) at a time; the two Getchar forms agree; CC_Find's hit lies at
// an even offset of the set; GetCCPrefix stays inside the text; sgets' lines
// are the text without its line breaks; countChar counts no more than there
// are bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "CharReader.h"
#include "FuzzSupport.h"

namespace {

void CheckGbkWalk(ExactText& text) {
    size_t nPos = 0;
    char sChar[3];
    for (size_t nLen; (nLen = Getchar(text.get() + nPos, sChar)) != 0; nPos += nLen) {
        int nCode = 0;
        Check(Getchar(text.get() + nPos, &nCode) == nLen, "both Getchar forms agree");
        Check(nLen <= 2 && memcmp(sChar, text.get() + nPos, nLen) == 0 && sChar[nLen] == 0,
              "Getchar copies the character");
        Check(nLen == 1 || static_cast<unsigned char>(sChar[0]) >= 0x80, "pairs lead high");
    }
    Check(nPos == text.size(), "Getchar walks the whole text");

    tuint i = 0;
    tuint nSize = static_cast<tuint>(text.size());
    for (size_t nSteps = 0; i < nSize; ++nSteps) {
        Check(nSteps < text.size(), "GetCharCode moves on");
        GetCharCode(text.get(), i, nSize);
    }
    Check(i == nSize, "GetCharCode stops at the end");
}

void CheckUtf8Walk(ExactText& text) {
    size_t nPos = 0;
    char sChar[7];
    for (size_t nLen; (nLen = GetUTF8Char(text.get() + nPos, sChar)) != 0; nPos += nLen) {
        Check(nLen <= 6 && memcmp(sChar, text.get() + nPos, nLen) == 0 && sChar[nLen] == 0,
              "GetUTF8Char copies the character");
    }
    Check(nPos == text.size(), "GetUTF8Char walks the whole text");
}

void CheckLines(ExactText& text) {
    std::string sExpected;
    for (char c : std::string(text.get())) {
        if (c != '\r' && c != '\n') sExpected += c;
    }
    std::string sJoined;
    std::vector<char> sLine(text.size() + 1);
    const char* p = text.get();
    for (size_t nLines = 0; p; ++nLines) {
        Check(nLines <= text.size(), "sgets ends");
        const char* pNext = sgets(p, sLine.data());
        Check(!pNext || pNext > p, "sgets moves on");
        sJoined += sLine.data();
        p = pNext;
    }
    Check(sJoined == sExpected, "sgets' lines are the text without breaks");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    InputReader input(pData, nSize);
    uint8_t nPick = input.TakeByte();
    ExactText text(UpToNul(input.TakeRest()));

    CheckGbkWalk(text);
    CheckUtf8Walk(text);
    CheckLines(text);

    size_t nPrefix = GetCCPrefix(text.bytes());
    Check(nPrefix <= text.size() && nPrefix % 2 == 0, "GetCCPrefix stays inside");

    const char sSet[] = "\xA1\xA3\xA3\xA1\xA3\xBF";  // 。！？
    const char sKey[3] = {static_cast<char>(nPick), static_cast<char>(nPick ^ 0x02), 0};
    const char* pHit = CC_Find(sSet, sKey);
    Check(!pHit || ((pHit - sSet) % 2 == 0 && memcmp(pHit, sKey, strlen(sKey)) == 0),
          "CC_Find's hit is whole");
    const char* pInText = CC_Find(text.get(), sKey);
    Check(!pInText || (pInText - text.get()) % 2 == 0, "CC_Find in the text");

    // countChar with a one-byte code, widened as it says.
    unsigned int nCode = static_cast<unsigned int>(static_cast<signed char>(nPick));
    unsigned int nCount = countChar(text.get(), static_cast<unsigned int>(text.size()), nCode);
    Check(nCount <= text.size(), "countChar counts characters");
    return 0;
}
