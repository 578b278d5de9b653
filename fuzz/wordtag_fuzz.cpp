// Word and tag strings over any entry and delimiter. The input is the
// delimiter up to a NUL, then the entry up to the next NUL. Checked against
// plain definitions: gfn_bTrimWord trims exactly the ASCII and full-width
// spaces at both ends; gfn_bGetWordPos splits at the first delimiter and trims
// both sides, also when the word or tag is the entry itself; IsEnglishText
// samples its ten bytes; Delimiter2DictFormat writes a one- or two-byte string.
#include <cctype>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "WordTag.h"

namespace {

bool IsSingleSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsDoubleSpace(const std::string& s, size_t i) {
    if (i + 1 >= s.size()) return false;
    unsigned char c = static_cast<unsigned char>(s[i]);
    unsigned char d = static_cast<unsigned char>(s[i + 1]);
    return (c == 0xA1 && d == 0xA1) || (c == 0xA3 && d == 0xA0);
}

// Leading: passes of single spaces, then whole two-byte spaces, until a pass
// removes nothing. Trailing: the same from the end, a pair being the last two
// bytes of what remains.
std::string TrimmedReference(const std::string& s) {
    size_t nStart = 0;
    for (size_t nBefore = ~size_t(0); nBefore != nStart;) {
        nBefore = nStart;
        while (nStart < s.size() && IsSingleSpace(s[nStart])) ++nStart;
        while (IsDoubleSpace(s, nStart)) nStart += 2;
    }
    std::string sRest = s.substr(nStart);
    for (size_t nBefore = ~size_t(0); nBefore != sRest.size();) {
        nBefore = sRest.size();
        while (!sRest.empty() && IsSingleSpace(sRest.back())) sRest.pop_back();
        while (sRest.size() >= 2 && IsDoubleSpace(sRest, sRest.size() - 2))
            sRest.resize(sRest.size() - 2);
    }
    return sRest;
}

void CheckTrim(const std::string& sEntry) {
    tstring sWord = sEntry;
    bool bResult = gfn_bTrimWord(sWord);
    Check(bResult == !sEntry.empty(), "gfn_bTrimWord result");
    Check(sWord == TrimmedReference(sEntry), "gfn_bTrimWord");
}

void CheckWordPos(const std::string& sEntry, const std::string& sDelimiter) {
    std::string sWordExpected = sEntry;
    std::string sPosExpected;
    size_t nAt = sDelimiter.empty() ? std::string::npos : sEntry.find(sDelimiter);
    if (nAt != std::string::npos) {
        sWordExpected = TrimmedReference(sEntry.substr(0, nAt));
        sPosExpected = TrimmedReference(sEntry.substr(nAt + sDelimiter.size()));
    }
    if (sEntry.empty()) sWordExpected.clear();
    bool bExpected = !sWordExpected.empty();

    tstring sWord = "stale";
    tstring sPos = "stale";
    Check(gfn_bGetWordPos(sEntry, sWord, sPos, sDelimiter) == bExpected, "gfn_bGetWordPos result");
    Check(sWord == sWordExpected && sPos == sPosExpected, "gfn_bGetWordPos parts");

    tstring sSame = sEntry;
    tstring sOther;
    gfn_bGetWordPos(sSame, sSame, sOther, sDelimiter);
    Check(sSame == sWordExpected && sOther == sPosExpected, "the word may be the entry");
    sSame = sEntry;
    gfn_bGetWordPos(sSame, sOther, sSame, sDelimiter);
    Check(sOther == sWordExpected && sSame == sPosExpected, "the tag may be the entry");
}

bool EnglishReference(const std::string& s) {
    if (s.empty()) return false;
    int nValid = 0;
    for (size_t i = 0; i < 10; ++i) {
        unsigned char c = static_cast<unsigned char>(s[i * s.size() / 10]);
        if (c >= 0x80 && c != 0xA1 && c != 0xB1) return false;
        if (isalnum(c)) ++nValid;
    }
    return 2 * nValid > 9;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    std::string sInput(reinterpret_cast<const char*>(pData), nSize);
    size_t nNul = sInput.find('\0');
    if (nNul == std::string::npos) return 0;
    std::string sDelimiter = sInput.substr(0, nNul);
    std::string sEntry = UpToNul(sInput.substr(nNul + 1));

    CheckTrim(sEntry);
    CheckWordPos(sEntry, sDelimiter);
    ExactText text(sEntry);
    Check(IsEnglishText(text.get()) == EnglishReference(sEntry), "IsEnglishText");
    char sDict[3];
    char c = sDelimiter.empty() ? 0 : sDelimiter[0];
    bool bMapped = Delimiter2DictFormat(c, sDict);
    Check(strlen(sDict) == (bMapped ? 2u : (c ? 1u : 0u)), "Delimiter2DictFormat");
    return 0;
}
