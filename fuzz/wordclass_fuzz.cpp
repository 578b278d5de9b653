// The word-class predicates and normalisers, the Chinese numeral and time-word
// tests and the foreign-name counters over any word, through the umbrella
// header. The first byte picks the length argument, the rest up to a NUL is
// the word. Checked: the predicates agree with each other where their classes
// nest; WordStandard keeps only its canonical bytes and is idempotent;
// StrNormalize gives the words of the text joined by single blanks; the
// numeral converter writes one digit at most per character.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Utility.h"

namespace {

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The words of the text (runs of anything but white space) joined by one blank.
std::string NormalizedReference(const std::string& s) {
    std::string sOut;
    for (size_t i = 0; i < s.size();) {
        if (IsWhiteSpace(s[i])) {
            ++i;
            continue;
        }
        if (!sOut.empty()) sOut += ' ';
        while (i < s.size() && !IsWhiteSpace(s[i])) sOut += s[i++];
    }
    return sOut;
}

bool IsCanonical(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) continue;
        if (c < 0xB0 || i + 1 >= s.size() || static_cast<unsigned char>(s[i + 1]) < 0xA1) {
            return false;
        }
        ++i;
    }
    return true;
}

void CheckPredicates(ExactText& word, size_t nLen) {
    bool bSingle = IsAllSingleByte(word.bytes(), 0);
    bool bNonChinese = IsAllNonChinese(word.bytes());
    bool bChinese = IsAllChinese(word.bytes());
    bool bLetter = IsAllLetter(word.bytes());
    bool bDelimiter = IsAllDelimiter(word.bytes());
    IsAllIndex(word.bytes());
    IsAllNum(word.bytes(), 0);
    IsAllNum(word.bytes(), nLen);
    IsAllSingleByte(word.bytes(), nLen);
    bool bOneDelimiter = IsDelimiter(word.get());

    Check(!bSingle || bNonChinese, "single-byte words hold no Chinese character");
    Check(!bChinese || word.size() == 0 || !bNonChinese, "a Chinese word is not non-Chinese");
    Check(!bLetter || bDelimiter, "full-width letters lie in the delimiter rows");
    Check(!bOneDelimiter || word.size() == 1, "a delimiter is one byte");
}

void CheckNumerals(ExactText& word, size_t nLen) {
    IsAllChineseNum(word.get(), nLen);
    IsYearTime(word.get(), static_cast<int>(nLen));
    IsDayTime(word.get(), static_cast<unsigned int>(nLen));
    char sDigit[2];
    ChineseNum2Digit(word.get(), sDigit);
    Check(strlen(sDigit) <= 1, "one character gives at most one digit");
    std::vector<char> sDigits(word.size() + 1);
    ChineseNumStr2Digit(word.get(), sDigits.data());
    Check(strlen(sDigits.data()) <= word.size(), "no more digits than bytes");
}

void CheckForeignNames(ExactText& word, size_t nLen) {
    size_t nCount = GetForeignCharCount(word.get());
    Check(2 * nCount <= word.size(), "counted characters are two bytes each");
    int nType = GetForeignType(word.get());
    Check(nType >= 0 && nType <= 2, "type is 0, 1 or 2");
    Check(IsAllForeign(word.get()) == (2 * nCount == word.size()), "all foreign by the count");
    IsForeign(word.get());
    GetCharCount("0123456789", word.get(), nLen);
    GetCharCount(g_sForeignCharSet[nType], word.get(), nLen);
}

void CheckNormalizers(const std::string& sWord) {
    ExactText standard(sWord);
    WordStandard(standard.get());
    std::string sStandard = standard.get();
    Check(sStandard.size() <= sWord.size(), "the canonical form is never longer");
    Check(IsCanonical(sStandard), "only letters, digits and Chinese characters are kept");
    ExactText again(sStandard);
    Check(sStandard == WordStandard(again.get()), "WordStandard is idempotent");

    ExactText normal(sWord);
    Check(NormalizedReference(sWord) == StrNormalize(normal.get()), "StrNormalize");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    InputReader input(pData, nSize);
    size_t nPick = input.TakeByte();
    std::string sWord = UpToNul(input.TakeRest());
    // 0 asks for the whole word; other lengths stay inside it.
    size_t nLen = nPick % (sWord.size() + 1);

    ExactText word(sWord);
    CheckPredicates(word, nLen);
    CheckNumerals(word, nLen);
    CheckForeignNames(word, nLen);
    CheckNormalizers(sWord);
    Check(std::string(word.get()) == sWord, "the predicates only read");
    return 0;
}
