#include "EnglishDot.h"

#include <cstring>
#include <string_view>

#include "Punctuation.h"

namespace varnel_host {

namespace {

// Capitalised words that begin a sentence far more often than a name does:
// after U.S. or etc. they show that a new sentence starts.
constexpr std::string_view kSentenceStarters[] = {
    "A",     "An",     "The",     "I",       "He",       "She",   "It",     "We",        "They",
    "You",   "This",   "That",    "These",   "Those",    "There", "Here",   "His",       "Her",
    "Its",   "Our",    "Their",   "My",      "Your",     "But",   "And",    "Or",        "So",
    "Yet",   "Then",   "If",      "When",    "While",    "What",  "Where",  "Why",       "How",
    "Who",   "Which",  "In",      "On",      "At",       "As",    "For",    "After",     "Before",
    "Since", "Some",   "Many",    "Most",    "All",      "Each",  "Every",  "No",        "Not",
    "Now",   "Today",  "However", "Because", "Although", "Still", "Also",   "Meanwhile", "Is",
    "Are",   "Was",    "Were",    "Do",      "Does",     "Did",   "Can",    "Could",     "Will",
    "Would", "Should", "Have",    "Has",     "Had",      "Let",   "Please", "Yes",
};

bool IsSentenceStarter(const char* p, size_t nLen) {
    for (std::string_view s : kSentenceStarters)
        if (s == std::string_view(p, nLen)) return true;
    return false;
}

// The Latin letters at p, up to kMaxNextWord + 1 of them.
size_t WordLength(const char* p, size_t nLeft) {
    size_t n = 0;
    while (n < nLeft && n <= kMaxNextWord && IsLatin(p[n])) ++n;
    return n;
}

// A new sentence clearly starts at nNext: a word that begins sentences, or a
// character of another script or a curly quote.
bool ClearlyStarts(const DotContext& dot) {
    const char* q = dot.p + dot.nNext;
    if (static_cast<unsigned char>(*q) >= 0x80) return true;
    size_t nLen = WordLength(q, dot.nEnd - dot.nNext);
    return nLen <= kMaxNextWord && IsSentenceStarter(q, nLen);
}

// A capitalised word that is not one of the sentence starters: a name.
bool NameFollows(const DotContext& dot) {
    return IsCapitalLatin(dot.p[dot.nNext]) && !ClearlyStarts(dot);
}

// U.S, E.U, Ph.D: pieces of one or two letters with single periods between,
// the first a capital. (i.v and a.m close their sentence more often than not.)
bool IsMultiPeriod(const char* p, size_t nLen) {
    if (!IsCapitalLatin(p[0])) return false;
    size_t nPiece = 0, nPieces = 1;
    for (size_t i = 0; i < nLen; ++i) {
        if (p[i] != '.') {
            if (++nPiece > 2) return false;
            continue;
        }
        if (nPiece == 0) return false;
        nPiece = 0;
        ++nPieces;
    }
    return nPieces > 1 && nPiece > 0;
}

bool IsRoman(const char* p, size_t nLen) {
    static constexpr std::string_view kRoman[] = {"i",    "ii", "iii", "iv",   "v",  "vi",  "vii",
                                                  "viii", "ix", "x",   "I",    "II", "III", "IV",
                                                  "V",    "VI", "VII", "VIII", "IX", "X"};
    if (nLen > 4) return false;
    // Most words are told apart by length and first letter, without a call
    // to compare the rest.
    for (std::string_view s : kRoman)
        if (s.size() == nLen && s[0] == p[0] && s == std::string_view(p, nLen)) return true;
    return false;
}

// The number of a list item: 1 to 3 digits or one small letter.
bool IsItemNumber(const char* p, size_t nLen) {
    if (nLen == 1 && IsSmallLatin(p[0])) return true;
    if (nLen == 0 || nLen > 3) return false;
    for (size_t i = 0; i < nLen; ++i)
        if (!IsDigit(p[i])) return false;
    return true;
}

// "1." "a." "B." "iv." alone at the head of a sentence number what follows.
bool IsListMarker(const char* p, size_t nLen) {
    return IsItemNumber(p, nLen) || (nLen == 1 && IsCapitalLatin(p[0])) || IsRoman(p, nLen);
}

// The last dot of ". . ." marks words left out inside a sentence; a fourth
// dot, ". . . .", closes the sentence as well.
bool EndsSpacedEllipsis(const char* p, size_t nFloor, size_t nDot) {
    auto dotAt = [&](size_t nBack) {
        return nDot >= nFloor + nBack + 1 && p[nDot - nBack] == ' ' && p[nDot - nBack - 1] == '.';
    };
    return dotAt(1) && dotAt(3) && !dotAt(5);
}

}  // namespace

size_t ListMarkerLength(const char* p, size_t nPos, size_t nEnd) {
    size_t i = nPos;
    while (i < nEnd && i - nPos < 3 && IsDigit(p[i])) ++i;
    if (i == nPos && i < nEnd && IsSmallLatin(p[i])) ++i;
    if (!IsItemNumber(p + nPos, i - nPos)) return 0;
    if (i < nEnd && p[i] == '.') ++i;
    if (i < nEnd && p[i] == ')') ++i;
    if (p[i - 1] != '.' && p[i - 1] != ')') return 0;
    return i < nEnd && IsBlank(p[i]) ? i + 1 - nPos : 0;
}

bool DotEndsSentence(const DotContext& dot, const Abbreviations& abbreviations) {
    const char* p = dot.p;
    if (IsListMarker(p + dot.nSentence, dot.nDot - dot.nSentence)) return false;
    if (EndsSpacedEllipsis(p, dot.nFloor, dot.nDot)) return false;
    // A number after a sign shortened by a '.': N°. 3, §. 5 (No. 5 and p. 55
    // are in the list; after a plain word or a number it starts a sentence).
    char cBefore = dot.nDot > dot.nFloor      ? p[dot.nDot - 1]
                   : dot.nDot > dot.nSentence ? '\x80'  // a wider character
                                              : ' ';
    if (IsDigit(p[dot.nNext]) && !IsLatin(cBefore) && !IsDigit(cBefore) && !IsSpace(cBefore))
        return false;
    size_t nWord = dot.nDot;
    while (nWord > dot.nFloor && (IsLatin(p[nWord - 1]) || p[nWord - 1] == '.')) --nWord;
    const char* pWord = p + nWord;
    size_t nLen = dot.nDot - nWord;
    // An ellipsis, or a '.' behind no word.
    if (nLen == 0 || pWord[nLen - 1] == '.' || pWord[0] == '.') return true;
    switch (abbreviations.Find(pWord, nLen)) {
        case Abbreviations::kTitle:
            return false;
        case Abbreviations::kMayEnd:
            return ClearlyStarts(dot);
        case Abbreviations::kNone:
            break;
    }
    if (IsMultiPeriod(pWord, nLen)) return ClearlyStarts(dot);
    if (nLen == 1 && IsCapitalLatin(pWord[0])) return !NameFollows(dot);
    return true;
}

}  // namespace varnel_host
