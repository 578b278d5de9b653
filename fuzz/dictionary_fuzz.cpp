// Dictionary lookups and PostfixSplit over any word and any table. The input's
// first line is the word, the other lines are the table's entries, sorted as
// each lookup needs. Checked against plain walks of the table: MaxMatching's
// longest entry, BinarySearch, IsExists and MaxPrefix; PostfixSplit's stem and
// postfix rebuild the word, in separate buffers and in place.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "Dictionary.h"
#include "FuzzSupport.h"

namespace {

int LowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

bool LessIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return LowerAscii(static_cast<unsigned char>(x)) <
               LowerAscii(static_cast<unsigned char>(y));
    });
}

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return !LessIgnoringAsciiCase(a, b) && !LessIgnoringAsciiCase(b, a);
}

// Exact-size copies of the entries, and the table of pointers to them.
struct Table {
    explicit Table(const std::vector<std::string>& vsEntries) {
        for (const std::string& s : vsEntries) vText.emplace_back(new ExactText(s));
        for (auto& pText : vText) vTable.push_back(pText->get());
    }
    std::vector<std::unique_ptr<ExactText>> vText;
    std::vector<const char*> vTable;
};

void CheckMaxMatching(ExactText& word, std::vector<std::string> vsEntries) {
    std::sort(vsEntries.begin(), vsEntries.end());
    vsEntries.erase(std::unique(vsEntries.begin(), vsEntries.end()), vsEntries.end());
    Table table(vsEntries);
    const std::string sWord = word.get();
    size_t nLongest = 0;
    for (const std::string& s : vsEntries) {
        if (sWord.compare(0, s.size(), s) == 0) nLongest = std::max(nLongest, s.size());
    }
    long nRuleId = -2;
    size_t nMatched = MaxMatching(word.get(), table.vTable.data(), table.vTable.size(), &nRuleId);
    Check(nMatched == nLongest, "MaxMatching finds the longest entry");
    if (nMatched == 0) {
        Check(nRuleId == -1, "no match gives rule -1");
        return;
    }
    Check(nRuleId >= 0 && vsEntries[static_cast<size_t>(nRuleId)] == sWord.substr(0, nMatched),
          "the rule is the matched entry");
}

void CheckBinarySearch(ExactText& word, std::vector<std::string> vsEntries) {
    std::stable_sort(vsEntries.begin(), vsEntries.end(), LessIgnoringAsciiCase);
    Table table(vsEntries);
    const std::string sWord = word.get();
    bool bPresent = false;
    for (const std::string& s : vsEntries) bPresent |= EqualIgnoringAsciiCase(s, sWord);
    int nTableLen = static_cast<int>(table.vTable.size());
    int nFound = BinarySearch(word.get(), table.vTable.data(), nTableLen);
    Check((nFound >= 0) == bPresent, "BinarySearch finds what is there");
    if (nFound >= 0) {
        Check(EqualIgnoringAsciiCase(vsEntries[static_cast<size_t>(nFound)], sWord),
              "BinarySearch's hit is equal");
    }
    bool bExact = std::find(vsEntries.begin(), vsEntries.end(), sWord) != vsEntries.end();
    Check(IsExists(word.get(), table.vTable.data(), nTableLen) == bExact, "IsExists");
    for (const char* sEntry : table.vTable) {
        size_t nShared = 0;
        while (sEntry[nShared] && sEntry[nShared] == sWord[nShared]) ++nShared;
        Check(MaxPrefix(word.get(), sEntry) == nShared, "MaxPrefix");
    }
}

void CheckPostfixSplit(ExactText& word) {
    const std::string sWord = word.get();
    ExactText stem(sWord);  // exactly the word's length plus one
    std::unique_ptr<char[]> sPostfix(new char[9]);
    Check(PostfixSplit(word.get(), stem.get(), sPostfix.get()), "PostfixSplit is always true");
    size_t nPostfixLen = strlen(sPostfix.get());
    Check(nPostfixLen % 2 == 0 && nPostfixLen <= 8, "a postfix is up to four characters");
    Check(std::string(stem.get()) + sPostfix.get() == sWord, "stem and postfix rebuild the word");

    ExactText inPlace(sWord);
    char sPostfix2[9];
    PostfixSplit(inPlace.get(), inPlace.get(), sPostfix2);
    Check(std::string(inPlace.get()) == stem.get() && std::string(sPostfix2) == sPostfix.get(),
          "splitting in place gives the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    std::string sInput = UpToNul(std::string(reinterpret_cast<const char*>(pData), nSize));
    std::vector<std::string> vsLines;
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = sInput.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1) {
        vsLines.push_back(sInput.substr(nStart, nEnd - nStart));
    }
    vsLines.push_back(sInput.substr(nStart));
    ExactText word(vsLines.front());
    std::vector<std::string> vsEntries(vsLines.begin() + 1, vsLines.end());

    CheckMaxMatching(word, vsEntries);
    CheckBinarySearch(word, vsEntries);
    CheckPostfixSplit(word);
    return 0;
}
