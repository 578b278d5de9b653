#include "SentenceScan.h"

#include <cstring>

#include "CharReader.h"

namespace {

const char kChineseSentEnd[] = "\xA1\xA3\xA3\xA1\xA3\xBF\xA3\xBB";  // 。！？；
const char kEngSentEnd[] = ".!;?\r\n\t";

// CC_Find matches whole marks only: ＃ (A3 A3) lies across 。！ in the set
// and is no mark.
bool IsChineseEnd(const char* p) {
    const char sChar[3] = {p[0], p[1], 0};
    return CC_Find(kChineseSentEnd, sChar) != nullptr;
}

bool IsEnglishEnd(char c) { return c != 0 && strchr(kEngSentEnd, c) != nullptr; }

inline bool IsLineSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Whether a "^^" at pOpen opens a protected segment: it must end at least one
// byte before the line break, if there is one.
bool OpensSegment(const char* pOpen, const char* pBreak) {
    return pOpen[1] == '^' && (!pBreak || pOpen + 2 < pBreak);
}

}  // namespace

size_t FindSentenceStart(const char* sLine, size_t nLocatePos) {
    if (nLocatePos == 0) return 0;
    size_t nStart = nLocatePos - 1;
    while (nStart != 0) {
        size_t nCharLen = 1;
        if (static_cast<unsigned char>(sLine[nStart]) >= 0x80 && nStart > 1) {
            nCharLen = 2;
            if (IsChineseEnd(sLine + nStart - 1)) return nStart + 1;
        } else if (IsEnglishEnd(sLine[nStart])) {
            return nStart + 1;
        }
        nStart -= nCharLen;
    }
    return 0;
}

size_t FindSentenceEnd(const char* sLine, size_t nLocatePos) {
    size_t nLen = strlen(sLine);
    char sChar[3];
    size_t nEnd = nLocatePos;
    while (nEnd < nLen) {
        size_t nCharLen = Getchar(sLine + nEnd, sChar);
        bool bMark = nCharLen == 2 ? IsChineseEnd(sChar) : IsEnglishEnd(sChar[0]);
        if (bMark) return nEnd + nCharLen;
        nEnd += nCharLen;
    }
    return nLen;
}

char* StrLine(char* pCur, char** pNextRet, char* chSep, int* n_pStatus,
              bool bInvalidCharConsidered) {
    if (n_pStatus) *n_pStatus = 0;
    *chSep = 0;
    *pNextRet = nullptr;
    if (!pCur) return nullptr;
    while (IsLineSpace(*pCur)) ++pCur;
    if (*pCur == 0) return nullptr;

    char* pCut = strpbrk(pCur, "\r\n");  // the line break, if any
    char* pOpen = bInvalidCharConsidered ? strchr(pCur, '^') : nullptr;
    if (pOpen && OpensSegment(pOpen, pCut)) {
        // Only the first '^' after the opener is tried as a closer.
        char* pClose = strchr(pOpen + 2, '^');
        if (pClose && pClose[1] == '^') {
            if (pOpen == pCur) {
                pCur = pOpen + 2;
                *pClose = 0;
                pCut = pClose + 2;
                if (n_pStatus) *n_pStatus = 1;
            } else {
                pCut = pOpen;
            }
        }
    }
    if (pCut) {
        *chSep = *pCut;
        *pCut = 0;
        *pNextRet = pCut;
    }
    return pCur;
}
