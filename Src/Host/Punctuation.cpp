#include "Punctuation.h"

#include <cstring>
#include <initializer_list>

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
const char kAsciiEndMarks[] = "?!.";

// The pairs, opener then closer, in the order of their kinds from 1.
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

// Where the character c has its entries in the tables of one encoding.
struct Cell {
    int nUtf8;
    int nRow;
    unsigned char cLast;
};

Cell CellOf(const WideChar& c, int nEncode) {
    const char* s = nEncode == 1 ? c.sUtf8 : c.sGbk;
    size_t nLen = strlen(s);
    return {nEncode == 1, WideRow(s, s + nLen, nEncode, nLen),
            static_cast<unsigned char>(s[nLen - 1])};
}

template <size_t N>
void AddFlag(CharTables& tables, const WideChar (&set)[N], uint8_t nFlag) {
    for (const WideChar& c : set) {
        for (int nEncode : {0, 1}) {
            Cell cell = CellOf(c, nEncode);
            tables.anFlags[cell.nUtf8][cell.nRow][cell.cLast] |= nFlag;
        }
    }
}

void AddPair(CharTables& tables, const WideChar& c, int nKind) {
    for (int nEncode : {0, 1}) {
        Cell cell = CellOf(c, nEncode);
        tables.anPair[cell.nUtf8][cell.nRow][cell.cLast] = static_cast<int8_t>(nKind);
    }
}

CharTables BuildCharTables() {
    CharTables tables;
    memset(&tables, 0, sizeof tables);
    AddFlag(tables, kWideClosers, CharTables::kCloser);
    AddFlag(tables, kWideEndMarks, CharTables::kEndMark);
    for (const char* s = kAsciiClosers; *s; ++s)
        tables.anAsciiFlags[static_cast<unsigned char>(*s)] |= CharTables::kCloser;
    for (const char* s = kAsciiEndMarks; *s; ++s)
        tables.anAsciiFlags[static_cast<unsigned char>(*s)] |= CharTables::kEndMark;
    int nKind = 1;
    for (const auto& pair : kWidePairs) {
        AddPair(tables, pair[0], nKind);
        AddPair(tables, pair[1], -nKind);
        ++nKind;
    }
    // The closer first: '"' is entered as an opener, which closes an open '"'.
    for (const auto& pair : kAsciiPairs) {
        tables.anAsciiPair[static_cast<unsigned char>(pair[1])] = static_cast<int8_t>(-nKind);
        tables.anAsciiPair[static_cast<unsigned char>(pair[0])] = static_cast<int8_t>(nKind);
        ++nKind;
    }
    return tables;
}

}  // namespace

const CharTables kCharTables = BuildCharTables();

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

bool IsApostrophe(const char* pFloor, const char* p, size_t nLen, const char* pEnd, int nEncode) {
    if (p - pFloor < 1 || pEnd - p <= static_cast<ptrdiff_t>(nLen)) return false;
    if (!IsLatin(p[-1]) || !IsLatin(p[nLen])) return false;
    return nEncode == 1 || p - pFloor < 2 || static_cast<unsigned char>(p[-2]) < 0x80;
}

}  // namespace varnel_host
