// StrLine, FindSentenceStart and FindSentenceEnd over any text. The first byte
// picks the protected-segment mode, the next ones a few positions, the rest up
// to a NUL is the text. Checked: cutting every line and putting back each
// byte that a cut overwrote (the reported byte, and the '^' of a protected
// segment's closer) rebuilds the text; an ordinary line holds no line break;
// the sentence around a position contains it and lies inside the text.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "SentenceScan.h"

namespace {

void CheckLines(const std::string& sText, bool bProtect) {
    ExactText text(sText);
    char* pCur = text.get();
    for (size_t nRounds = 0;; ++nRounds) {
        Check(nRounds <= sText.size(), "cutting lines ends");
        char* pNext = reinterpret_cast<char*>(1);
        char cSep = 'x';
        int nStatus = -1;
        char* sLine = StrLine(pCur, &pNext, &cSep, &nStatus, bProtect);
        Check(nStatus == 0 || nStatus == 1, "status is 0 or 1");
        if (!sLine) {
            Check(!pNext && cSep == 0 && nStatus == 0, "no line: null, 0, 0");
            break;
        }
        Check(sLine >= text.get() && sLine < text.get() + sText.size(), "the line is in the text");
        size_t nLineLen = strlen(sLine);
        if (nStatus == 1) {
            Check(bProtect && sLine[nLineLen + 1] == '^', "a protected line ends at its closer");
            sLine[nLineLen] = '^';
        } else {
            Check(nLineLen > 0 && !strpbrk(sLine, "\r\n"), "an ordinary line holds no break");
        }
        if (!pNext) {
            Check(cSep == 0, "no cut, no byte");
            break;
        }
        Check(pNext > pCur && pNext <= text.get() + sText.size(), "the cut moves forward");
        *pNext = cSep;
        pCur = pNext;
    }
    Check(memcmp(text.get(), sText.data(), sText.size()) == 0, "putting the bytes back rebuilds");
}

void CheckSentenceBounds(const std::string& sText, size_t nPos) {
    ExactText text(sText);
    size_t nStart = FindSentenceStart(text.get(), nPos);
    size_t nEnd = FindSentenceEnd(text.get(), nPos);
    Check(nStart <= nPos, "the sentence starts at or before the position");
    Check(nEnd <= sText.size() && (nEnd > nPos || nPos == sText.size()),
          "the sentence ends after the position, inside the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    InputReader input(pData, nSize);
    bool bProtect = (input.TakeByte() & 1) != 0;
    std::vector<uint16_t> vPositions;
    for (int k = 0; k < 4; ++k) vPositions.push_back(input.TakeUint16());
    std::string sText = UpToNul(input.TakeRest());

    CheckLines(sText, bProtect);
    for (uint16_t nPos : vPositions) CheckSentenceBounds(sText, nPos % (sText.size() + 1));
    return 0;
}
