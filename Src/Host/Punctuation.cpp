#include "Punctuation.h"

#include <cstring>

namespace varnel_host {

namespace {

// A character of two or more bytes in both encodings.
struct WideChar {
    const char* sUtf8;
    const char* sGbk;
};

const WideChar kWideEndMarks[] = {
    {"\xE3\x80\x82", "\xA1\xA3"},  // 。
    {"\xEF\xBC\x81", "\xA3\xA1"},  // ！
    {"\xEF\xBC\x9F", "\xA3\xBF"},  // ？
};

const WideChar kWideClosers[] = {
    {"\xE2\x80\x9D", "\xA1\xB1"},  // ”
    {"\xE2\x80\x99", "\xA1\xAF"},  // ’
    {"\xE3\x80\x8D", "\xA1\xB9"},  // 」
    {"\xE3\x80\x8F", "\xA1\xBB"},  // 』
    {"\xEF\xBC\x89", "\xA3\xA9"},  // ）
    {"\xE3\x80\x8B", "\xA1\xB7"},  // 》
    {"\xE3\x80\x89", "\xA1\xB5"},  // 〉
    {"\xE3\x80\x91", "\xA1\xBF"},  // 】
    {"\xE3\x80\x95", "\xA1\xB3"},  // 〕
    {"\xE3\x80\x97", "\xA1\xBD"},  // 〗
    {"\xEF\xBC\xBD", "\xA3\xDD"},  // ］
    {"\xEF\xBD\x9D", "\xA3\xFD"},  // ｝
    {"\xE3\x80\x9E", "\xA8\x95"},  // 〞
};
const char kAsciiClosers[] = "\"')]";

// The pairs, opener then closer, in the order of their kinds from 1. Every
// UTF-8 form is led by E2 80, E3 80 or EF BC, every GBK form by A1 or A3
// (the tables of PairTables rest on that).
const WideChar kWidePairs[][2] = {
    {{"\xE2\x80\x9C", "\xA1\xB0"}, {"\xE2\x80\x9D", "\xA1\xB1"}},  // “ ”
    {{"\xE2\x80\x98", "\xA1\xAE"}, {"\xE2\x80\x99", "\xA1\xAF"}},  // ‘ ’
    {{"\xE3\x80\x8C", "\xA1\xB8"}, {"\xE3\x80\x8D", "\xA1\xB9"}},  // 「 」
    {{"\xE3\x80\x8E", "\xA1\xBA"}, {"\xE3\x80\x8F", "\xA1\xBB"}},  // 『 』
    {{"\xE3\x80\x8A", "\xA1\xB6"}, {"\xE3\x80\x8B", "\xA1\xB7"}},  // 《 》
    {{"\xE3\x80\x88", "\xA1\xB4"}, {"\xE3\x80\x89", "\xA1\xB5"}},  // 〈 〉
    {{"\xEF\xBC\x88", "\xA3\xA8"}, {"\xEF\xBC\x89", "\xA3\xA9"}},  // （ ）
    {{"\xE3\x80\x90", "\xA1\xBE"}, {"\xE3\x80\x91", "\xA1\xBF"}},  // 【 】
    {{"\xE3\x80\x94", "\xA1\xB2"}, {"\xE3\x80\x95", "\xA1\xB3"}},  // 〔 〕
    {{"\xEF\xBC\xBB", "\xA3\xDB"}, {"\xEF\xBC\xBD", "\xA3\xDD"}},  // ［ ］
};
// The ASCII pairs, kinds 11 to 13; '"' is the last kind, kAsciiQuote.
const char kAsciiPairs[][2] = {{'(', ')'}, {'[', ']'}, {'"', '"'}};

int Utf8Row(const char* s) {
    if (s[0] == '\xE2') return 0;
    return s[0] == '\xE3' ? 1 : 2;
}

void AddWide(PairTables& tables, const WideChar& c, int nKind) {
    tables.anUtf8[Utf8Row(c.sUtf8)][static_cast<unsigned char>(c.sUtf8[2])] =
        static_cast<int8_t>(nKind);
    int nGbkRow = c.sGbk[0] == '\xA1' ? 0 : 1;
    tables.anGbk[nGbkRow][static_cast<unsigned char>(c.sGbk[1])] = static_cast<int8_t>(nKind);
}

PairTables BuildPairTables() {
    PairTables tables;
    memset(&tables, 0, sizeof tables);
    int nKind = 1;
    for (const auto& pair : kWidePairs) {
        AddWide(tables, pair[0], nKind);
        AddWide(tables, pair[1], -nKind);
        ++nKind;
    }
    for (const auto& pair : kAsciiPairs) {
        tables.anAscii[static_cast<unsigned char>(pair[1])] = static_cast<int8_t>(-nKind);
        tables.anAscii[static_cast<unsigned char>(pair[0])] = static_cast<int8_t>(nKind);
        ++nKind;
    }
    return tables;
}

// The length of c at p when it stands there whole, else 0.
size_t WideLength(const WideChar& c, const char* p, const char* pEnd, int nEncode) {
    const char* s = nEncode == 1 ? c.sUtf8 : c.sGbk;
    size_t nLen = strlen(s);
    return static_cast<size_t>(pEnd - p) >= nLen && memcmp(p, s, nLen) == 0 ? nLen : 0;
}

template <size_t N>
size_t WideSetLength(const WideChar (&set)[N], const char* p, const char* pEnd, int nEncode) {
    for (const WideChar& c : set)
        if (size_t nLen = WideLength(c, p, pEnd, nEncode)) return nLen;
    return 0;
}

}  // namespace

const PairTables kPairTables = BuildPairTables();

size_t CharLength(const char* p, const char* pEnd, int nEncode) {
    unsigned char c = static_cast<unsigned char>(*p);
    size_t nLen = 1;
    if (nEncode != 1) {
        nLen = c >= 0x80 ? 2 : 1;
    } else if (c >= 0xC0) {
        nLen = c >= 0xFC ? 6 : c >= 0xF8 ? 5 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    }
    size_t nLeft = static_cast<size_t>(pEnd - p);
    return nLen < nLeft ? nLen : nLeft;
}

size_t CloserLength(const char* p, const char* pEnd, int nEncode) {
    if (p >= pEnd) return 0;
    if (static_cast<unsigned char>(*p) < 0x80) return strchr(kAsciiClosers, *p) && *p ? 1 : 0;
    // A closer must be the whole character at p, not the start of a longer one.
    size_t nLen = WideSetLength(kWideClosers, p, pEnd, nEncode);
    return nLen == CharLength(p, pEnd, nEncode) ? nLen : 0;
}

size_t EndMarkLength(const char* p, const char* pEnd, int nEncode) {
    if (p >= pEnd) return 0;
    if (*p == '?' || *p == '!' || *p == '.') return 1;
    if (static_cast<unsigned char>(*p) < 0x80) return 0;
    size_t nLen = WideSetLength(kWideEndMarks, p, pEnd, nEncode);
    return nLen == CharLength(p, pEnd, nEncode) ? nLen : 0;
}

SentenceEnd EndOfSentence(const char* p, size_t nStart, size_t nEnd, int nEncode) {
    if (nEnd == nStart) return SentenceEnd::kNone;
    char cLast = p[nEnd - 1];
    if (IsLineEnd(cLast)) return SentenceEnd::kLine;
    if (cLast == '!' || cLast == '?') return SentenceEnd::kBang;
    if (cLast == '.') return SentenceEnd::kDot;
    // The splitter cuts right behind a mark, so a full-width mark is the
    // sentence's last two (GBK) or three (UTF-8) bytes.
    size_t nLen = nEncode == 1 ? 3 : 2;
    if (nEnd - nStart < nLen) return SentenceEnd::kNone;
    const char* pMark = p + nEnd - nLen;
    return WideSetLength(kWideEndMarks, pMark, p + nEnd, nEncode) ? SentenceEnd::kWide
                                                                  : SentenceEnd::kNone;
}

bool IsApostrophe(const char* pFloor, const char* p, size_t nLen, const char* pEnd, int nEncode) {
    if (p - pFloor < 1 || pEnd - p <= static_cast<ptrdiff_t>(nLen)) return false;
    if (!IsLatin(p[-1]) || !IsLatin(p[nLen])) return false;
    return nEncode == 1 || p - pFloor < 2 || static_cast<unsigned char>(p[-2]) < 0x80;
}

}  // namespace varnel_host
