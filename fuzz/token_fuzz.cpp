// The tokenizers and string editors over any text and delimiter set. The input
// is a control byte (bit 0: English mode; the next byte, when bit 1 is set:
// where a NUL placed by the caller ends the range), the delimiter set up to a
// NUL, then the text up to the next NUL. Checked against plain walks of the
// text:
// - CStrToken: no token is empty; the blanks skipped and the tokens rebuild the
//   text in order; once GetToken gives null the text is byte for byte whole;
// - StrToken: the tokens are the runs between separators, and the only bytes
//   changed are the separators cut, one before each reported next position;
// - GetStrVector: CStrToken's tokens without trailing CR and LF, empty ones
//   dropped, and the text untouched;
// - gfn_bSplit, gfn_bSplitOR, trim, deleteChar, replaceChar and
//   gfn_vReplaceSubstr: their plain definitions.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Token.h"

namespace {

bool IsTokenBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool IsIn(const std::string& sSet, char c) { return c != 0 && sSet.find(c) != std::string::npos; }

// The tokens of a CStrToken walk over sText[0..nEnd), with a NUL placed at
// nEnd when it lies inside the text; checks the walk rebuilds the range.
std::vector<std::string> CheckTokenWalk(const std::string& sText, size_t nEnd,
                                        const std::string& sDelimiter, bool bEnglish) {
    ExactText text(sText);
    text.get()[nEnd] = 0;
    const std::string sBefore(text.get(), sText.size());
    CStrToken token(bEnglish);
    std::vector<std::string> vsTokens;
    char* pEnd = nEnd < sText.size() ? text.get() + nEnd : nullptr;
    size_t nPos = 0;
    for (char* s = token.GetToken(text.get(), pEnd, sDelimiter.c_str()); s;
         s = token.GetToken(nullptr, nullptr, sDelimiter.c_str())) {
        Check(vsTokens.size() <= nEnd, "the walk ends");
        std::string sToken = s;
        Check(!sToken.empty(), "no token is empty");
        while (nPos < nEnd && IsTokenBlank(sText[nPos])) ++nPos;
        Check(s == text.get() + nPos, "the token starts after the blanks");
        Check(sText.compare(nPos, sToken.size(), sToken) == 0, "the token is the text");
        nPos += sToken.size();
        vsTokens.push_back(sToken);
    }
    for (; nPos < nEnd; ++nPos) Check(IsTokenBlank(sText[nPos]), "only blanks are left");
    Check(memcmp(text.get(), sBefore.data(), sText.size()) == 0, "the text is whole again");
    Check(!token.GetToken(nullptr, nullptr, sDelimiter.c_str()), "an exhausted text stays so");
    return vsTokens;
}

void CheckStrToken(const std::string& sText, const std::string& sSeparators) {
    std::vector<std::string> vsExpected;
    for (size_t i = 0; i < sText.size();) {
        if (IsIn(sSeparators, sText[i])) {
            ++i;
            continue;
        }
        size_t nStart = i;
        while (i < sText.size() && !IsIn(sSeparators, sText[i])) ++i;
        vsExpected.push_back(sText.substr(nStart, i - nStart));
    }

    ExactText text(sText);
    std::vector<std::string> vsTokens;
    std::vector<size_t> vCuts;
    char* p = text.get();
    while (p) {
        Check(vsTokens.size() <= sText.size() + 1, "StrToken ends");
        char* pNext = reinterpret_cast<char*>(1);
        char* sToken = StrToken(p, sSeparators.c_str(), &pNext);
        Check(sToken != nullptr, "a text gives a token");
        if (pNext) {
            Check(pNext > p && pNext <= text.get() + sText.size(), "StrToken moves forward");
            vCuts.push_back(static_cast<size_t>(pNext - text.get()) - 1);
        }
        if (*sToken || pNext) vsTokens.push_back(sToken);
        p = pNext;
    }
    Check(vsTokens == vsExpected, "StrToken's tokens are the runs between separators");
    for (size_t i = 0, k = 0; i < sText.size(); ++i) {
        if (k < vCuts.size() && vCuts[k] == i) {
            Check(text.get()[i] == 0 && IsIn(sSeparators, sText[i]), "a cut is a separator");
            ++k;
        } else {
            Check(text.get()[i] == sText[i], "StrToken changes only what it cuts");
        }
    }
}

void CheckStrVector(const std::string& sText, const std::string& sDelimiter,
                    const std::vector<std::string>& vsTokens) {
    std::vector<tstring> vsExpected;
    for (std::string sToken : vsTokens) {
        while (!sToken.empty() && (sToken.back() == '\r' || sToken.back() == '\n')) {
            sToken.pop_back();
        }
        if (!sToken.empty()) vsExpected.push_back(sToken);
    }
    ExactText text(sText);
    std::vector<tstring> vsResult{"stale"};
    size_t nCount = GetStrVector(text.get(), sDelimiter.c_str(), vsResult);
    Check(nCount == vsResult.size() && vsResult == vsExpected, "GetStrVector");
    Check(std::string(text.get()) == sText, "GetStrVector leaves the text");
}

void CheckSplit(const std::string& sText, const std::string& sDelimiter) {
    std::vector<tstring> vsExpected;
    if (sDelimiter.empty() || sText.find(sDelimiter) == std::string::npos) {
        if (!sText.empty()) vsExpected.push_back(sText);
    } else {
        size_t nPos = 0;
        for (size_t k; (k = sText.find(sDelimiter, nPos)) != std::string::npos;
             nPos = k + sDelimiter.size()) {
            if (k > nPos) vsExpected.push_back(sText.substr(nPos, k - nPos));
        }
        if (nPos < sText.size()) vsExpected.push_back(sText.substr(nPos));
    }
    ExactText text(sText);
    ExactText delimiter(sDelimiter);
    std::vector<tstring> vsResult{"stale"};
    Check(gfn_bSplit(text.get(), vsResult, delimiter.get()) == !sText.empty(), "gfn_bSplit result");
    Check(vsResult == vsExpected, "gfn_bSplit pieces");

    vsExpected.clear();
    for (size_t i = 0; i < sText.size();) {
        size_t nStart = i;
        while (i < sText.size() && !IsIn(sDelimiter, sText[i])) ++i;
        if (i > nStart) vsExpected.push_back(sText.substr(nStart, i - nStart));
        if (i < sText.size()) ++i;
    }
    vsResult = {"stale"};
    Check(gfn_bSplitOR(text.get(), vsResult, delimiter.get()) == !sText.empty(), "gfn_bSplitOR");
    Check(vsResult == vsExpected, "gfn_bSplitOR pieces");
}

void CheckEditing(const std::string& sText, const std::string& sDelimiter) {
    char ch = sDelimiter.empty() ? ' ' : sDelimiter[0];
    size_t nFirst = sText.find_first_not_of(ch);
    tstring sTrimmed = sText;
    trim(sTrimmed, ch);
    Check(sTrimmed == (nFirst == std::string::npos
                           ? std::string()
                           : sText.substr(nFirst, sText.find_last_not_of(ch) - nFirst + 1)),
          "trim");

    std::string sKept;
    std::string sReplaced;
    for (char c : sText) {
        if (c != ch) sKept += c;
        sReplaced += c == ch ? sDelimiter : std::string(1, c);
    }
    ExactText text(sText);
    unsigned int nKept = deleteChar(text.get(), static_cast<unsigned int>(sText.size()), ch);
    Check(nKept == sKept.size() && memcmp(text.get(), sKept.data(), nKept) == 0, "deleteChar");
    for (size_t i = nKept; i < sText.size(); ++i) Check(text.get()[i] == 0, "deleteChar's tail");
    Check(replaceChar(sText, ch, sDelimiter.c_str()) == sReplaced, "replaceChar");

    // Each occurrence of the set's string becomes the text's first byte doubled.
    std::string sNew = sText.substr(0, 1) + sText.substr(0, 1);
    std::string sExpected = sText;
    if (!sDelimiter.empty()) {
        for (size_t k = 0; (k = sExpected.find(sDelimiter, k)) != std::string::npos;
             k += sNew.size()) {
            sExpected.replace(k, sDelimiter.size(), sNew);
        }
    }
    tstring sString = sText;
    gfn_vReplaceSubstr(sString, sDelimiter.c_str(), sNew.c_str());
    Check(sString == sExpected, "gfn_vReplaceSubstr");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    InputReader input(pData, nSize);
    uint8_t nControl = input.TakeByte();
    uint8_t nEndPick = (nControl & 2) ? input.TakeByte() : 0;
    std::string sRest = input.TakeRest();
    size_t nNul = sRest.find('\0');
    if (nNul == std::string::npos) return 0;
    std::string sDelimiter = sRest.substr(0, nNul);
    std::string sText = UpToNul(sRest.substr(nNul + 1));
    bool bEnglish = (nControl & 1) != 0;
    size_t nEnd = (nControl & 2) ? nEndPick % (sText.size() + 1) : sText.size();

    CheckTokenWalk(sText, nEnd, sDelimiter, bEnglish);
    std::vector<std::string> vsTokens = CheckTokenWalk(sText, sText.size(), sDelimiter, false);
    CheckStrToken(sText, sDelimiter);
    CheckStrVector(sText, sDelimiter, vsTokens);
    CheckSplit(sText, sDelimiter);
    CheckEditing(sText, sDelimiter);
    return 0;
}
