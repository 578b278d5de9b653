#include "Token.h"

#include <cstring>

#include "Ascii.h"

namespace {

// Skipped before every token of CStrToken; the line feed is not among them.
const char kBlanks[] = " \t\r";

// The full-width marks a delimiter token may cover whole, GBK-encoded:
// "，：。！？“”‘’—（）". A byte is tested for membership on its own, so any of
// their 12 distinct byte values counts.
const char kFullWidthPunctuation[] =
    "\xA3\xAC\xA3\xBA\xA1\xA3\xA3\xA1\xA3\xBF\xA1\xB0"   // ，：。！？“
    "\xA1\xB1\xA1\xAE\xA1\xAF\xA1\xAA\xA3\xA8\xA3\xA9";  // ”‘’—（）

// Whether the byte c occurs in the NUL-terminated set; NUL never does.
bool IsIn(const char* sSet, char c) { return c != 0 && sSet && strchr(sSet, c) != nullptr; }

bool IsFullWidthLead(char c) {
    unsigned char b = static_cast<unsigned char>(c);
    return b == 0xA1 || b == 0xA3;
}

// Whether the delimiter at p ends the word being scanned. In English mode a
// '.' inside a run of non-delimiters ("3.14", "U.S.A") and a ',' before a
// digit ("1,000") are part of the word.
bool EndsWordAt(const char* p, const char* pEnd, const char* sDelimiter, bool bEnglish) {
    if (!bEnglish || p + 1 >= pEnd) return true;
    char cNext = p[1];
    if (cNext == 0 || IsIn(sDelimiter, cNext)) return true;
    if (*p == '.') return false;
    if (*p == ',') return !varnel::IsAsciiDigit(static_cast<unsigned char>(cNext));
    return true;
}

void AppendPiece(std::vector<tstring>& vResult, const char* pStart, size_t nLen) {
    if (nLen > 0) vResult.emplace_back(pStart, nLen);
}

}  // namespace

char* StrToken(char* sLine, const char* pSeperator, char** pUnitNext) {
    if (!sLine) return nullptr;
    const char* sSet = pSeperator ? pSeperator : "";
    char* pToken = sLine + strspn(sLine, sSet);
    char* pStop = pToken + strcspn(pToken, sSet);
    char* pNext = nullptr;
    if (*pStop) {
        *pStop = 0;
        pNext = pStop + 1;
    }
    if (pUnitNext) *pUnitNext = pNext;
    return pToken;
}

CStrToken::CStrToken(bool bEnglish)
    : m_bEnglish(bEnglish),
      m_bOutputSep(false),
      m_pLineStart(nullptr),
      m_pLineEnd(nullptr),
      m_cSep(0),
      m_pTokenEnd(nullptr) {}

char* CStrToken::GetToken(char* pStart, char* pEnd, const char* sDelimiter) {
    if (pStart) {
        m_pLineStart = m_pTokenEnd = pStart;
        m_cSep = 0;
    }
    if (pEnd)
        m_pLineEnd = pEnd;
    else if (pStart)
        m_pLineEnd = pStart + strlen(pStart);
    if (!m_pTokenEnd || m_pTokenEnd >= m_pLineEnd) return nullptr;
    if (m_cSep) {
        *m_pTokenEnd = m_cSep;
        m_cSep = 0;
    }

    char* p = m_pTokenEnd;
    while (p < m_pLineEnd && IsIn(kBlanks, *p)) ++p;
    m_pTokenEnd = p;
    if (p >= m_pLineEnd || *p == 0) return nullptr;

    char* pToken = p;
    while (p < m_pLineEnd && *p &&
           !(IsIn(sDelimiter, *p) && EndsWordAt(p, m_pLineEnd, sDelimiter, m_bEnglish)))
        ++p;
    m_pTokenEnd = p;
    bool bAtDelimiter = p < m_pLineEnd && *p;
    if (p > pToken && bAtDelimiter) {
        // A word: the delimiter after it is the next call's token.
        m_cSep = *p;
        *p = 0;
        m_bOutputSep = false;
        return pToken;
    }
    m_bOutputSep = true;
    if (p > pToken) return pToken;  // the word ran to the end of the range

    // The token is the delimiter itself, a full-width mark taken whole.
    if (IsFullWidthLead(*p) && p + 1 < m_pLineEnd && IsIn(kFullWidthPunctuation, p[1])) ++p;
    m_pTokenEnd = ++p;
    if (p < m_pLineEnd) {
        m_cSep = *p;
        *p = 0;
    }
    return pToken;
}

size_t GetStrVector(const char* sLine, const char* pDelimiter, std::vector<tstring>& vecResult) {
    vecResult.clear();
    if (!sLine) return 0;
    tstring sCopy(sLine);
    CStrToken tokenizer(false);
    for (char* pToken = tokenizer.GetToken(&sCopy[0], nullptr, pDelimiter); pToken;
         pToken = tokenizer.GetToken(nullptr, nullptr, pDelimiter)) {
        size_t nLen = strlen(pToken);
        while (nLen > 0 && (pToken[nLen - 1] == '\r' || pToken[nLen - 1] == '\n')) --nLen;
        AppendPiece(vecResult, pToken, nLen);
    }
    return vecResult.size();
}

bool gfn_bSplit(const char* lpszText, std::vector<tstring>& vResult, const char* lpszDelimiter) {
    vResult.clear();
    if (!lpszText || !*lpszText) return false;
    if (!lpszDelimiter || !*lpszDelimiter) {
        vResult.emplace_back(lpszText);
        return true;
    }
    size_t nDelimiterLen = strlen(lpszDelimiter);
    const char* p = lpszText;
    for (const char* pHit; (pHit = strstr(p, lpszDelimiter)) != nullptr; p = pHit + nDelimiterLen)
        AppendPiece(vResult, p, pHit - p);
    AppendPiece(vResult, p, strlen(p));
    return true;
}

bool gfn_bSplitOR(const char* lpszText, std::vector<tstring>& vResult, const char* lpszDelimiter) {
    vResult.clear();
    if (!lpszText || !*lpszText) return false;
    const char* sSet = lpszDelimiter ? lpszDelimiter : "";
    for (const char* p = lpszText; *p;) {
        size_t nLen = strcspn(p, sSet);
        AppendPiece(vResult, p, nLen);
        p += nLen;
        p += strspn(p, sSet);
    }
    return true;
}

void trim(tstring& s, char ch) {
    size_t nFirst = s.find_first_not_of(ch);
    if (nFirst == tstring::npos) {
        s.clear();
        return;
    }
    s = s.substr(nFirst, s.find_last_not_of(ch) - nFirst + 1);
}

unsigned int deleteChar(char* source, unsigned int nLen, char ch) {
    if (!source) return 0;
    unsigned int nKept = 0;
    for (unsigned int i = 0; i < nLen; ++i)
        if (source[i] != ch) source[nKept++] = source[i];
    memset(source + nKept, 0, nLen - nKept);
    return nKept;
}

tstring replaceChar(const tstring& src, char ch, const char* s) {
    const char* sWith = s ? s : "";
    tstring sResult;
    sResult.reserve(src.size());
    for (char c : src) {
        if (c == ch)
            sResult += sWith;
        else
            sResult += c;
    }
    return sResult;
}

void gfn_vReplaceSubstr(tstring& sString, const char* sSubOld, const char* sSubNew) {
    if (sString.empty() || !sSubOld || !*sSubOld || !sSubNew) return;
    size_t nOldLen = strlen(sSubOld);
    size_t nNewLen = strlen(sSubNew);
    for (size_t nPos = sString.find(sSubOld); nPos != tstring::npos;
         nPos = sString.find(sSubOld, nPos + nNewLen))
        sString.replace(nPos, nOldLen, sSubNew, nNewLen);
}
