// The characters that the sentence options judge: end marks, closing marks,
// the pairs of quotes and brackets, blanks. Every test of a character that
// the options make lives here, for GBK and UTF-8 alike; a test reads one
// character at p, a character boundary, and never a byte at or past pEnd.
#ifndef VARNEL_HOST_PUNCTUATION_H
#define VARNEL_HOST_PUNCTUATION_H

#include <cstddef>
#include <cstdint>

namespace varnel_host {

// What the splitter skips in front of a sentence.
inline bool IsSpace(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

// Blanks within a line.
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

inline bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Where a sentence starts behind the whitespace from nPos on; nEnd when
// nothing but whitespace is left.
inline size_t SkipSpaces(const char* p, size_t nPos, size_t nEnd) {
    while (nPos < nEnd && IsSpace(p[nPos])) ++nPos;
    return nPos;
}

inline bool IsSmallLatin(char c) { return c >= 'a' && c <= 'z'; }
inline bool IsCapitalLatin(char c) { return c >= 'A' && c <= 'Z'; }
inline bool IsLatin(char c) { return IsSmallLatin(c) || IsCapitalLatin(c); }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The byte length of the character at p as the splitter reads it: in GBK two
// bytes when the first is 0x80 or above, in UTF-8 as many as the first byte
// announces; never past pEnd.
size_t CharLength(const char* p, const char* pEnd, int nEncode);

// The pairs of quotes and brackets that no sentence end breaks: “” ‘’ 「」
// 『』 《》 〈〉 （） 【】 〔〕 ［］ and the ASCII '"', '(' ... ')', '[' ... ']'.
// A pair is a kind from 1 to kPairKinds; the ASCII '"' both opens and closes.
constexpr int kPairKinds = 13;
constexpr int kAsciiQuote = kPairKinds;
constexpr int kSingleQuote = 2;  // ‘’
constexpr int kAsciiParen = 11;  // ( )

// What the options know of a character, looked up by its bytes. Every wide
// character they know is led, in UTF-8, by E2 80, E3 80, EF BC or EF BD, and
// in GBK by A1, A3 or A8: a row each, in which its last byte is the column.
struct CharTables {
    enum : uint8_t { kCloser = 1, kEndMark = 2 };
    uint8_t anAsciiFlags[128];
    int8_t anAsciiPair[128];
    uint8_t anFlags[2][4][256];  // [UTF-8 or not][row][last byte]
    int8_t anPair[2][4][256];    // 0: no pair mark; > 0: opens that kind; < 0: closes it
};
extern const CharTables kCharTables;

// The row of the wide character at p, -1 when it is in none; nLen is set to
// its length.
inline int WideRow(const char* p, const char* pEnd, int nEncode, size_t& nLen) {
    unsigned char c = static_cast<unsigned char>(p[0]);
    if (nEncode != 1) {
        nLen = 2;
        if (pEnd - p < 2) return -1;
        return c == 0xA1 ? 0 : c == 0xA3 ? 1 : c == 0xA8 ? 2 : -1;
    }
    nLen = 3;
    if (pEnd - p < 3) return -1;
    unsigned char c1 = static_cast<unsigned char>(p[1]);
    if (c == 0xE2 || c == 0xE3) return c1 == 0x80 ? c - 0xE2 : -1;
    if (c == 0xEF) return c1 == 0xBC ? 2 : c1 == 0xBD ? 3 : -1;
    return -1;
}

// The flags of the character at p, a character boundary; nLen its length
// when it has any.
inline uint8_t CharFlags(const char* p, const char* pEnd, int nEncode, size_t& nLen) {
    unsigned char c = static_cast<unsigned char>(*p);
    nLen = 1;
    if (c < 0x80) return kCharTables.anAsciiFlags[c];
    int nRow = WideRow(p, pEnd, nEncode, nLen);
    if (nRow < 0) return 0;
    return kCharTables.anFlags[nEncode == 1][nRow][static_cast<unsigned char>(p[nLen - 1])];
}

// The length of the closing mark at p, or 0: ” ’ 」 』 ） 》 〉 】 〕 〗 ］ ｝ 〞
// and '"', '\'', ')', ']'.
inline size_t CloserLength(const char* p, const char* pEnd, int nEncode) {
    size_t nLen;
    return p < pEnd && (CharFlags(p, pEnd, nEncode, nLen) & CharTables::kCloser) ? nLen : 0;
}

// The length of the end mark at p, or 0: "。", "！", "？", '?', '!' and '.'.
inline size_t EndMarkLength(const char* p, const char* pEnd, int nEncode) {
    size_t nLen;
    return p < pEnd && (CharFlags(p, pEnd, nEncode, nLen) & CharTables::kEndMark) ? nLen : 0;
}

// How the splitter ended a sentence, told by its last character.
enum class SentenceEnd : uint8_t {
    kNone,  // no mark: the end of the text
    kLine,  // CR or LF
    kWide,  // "。", "！" or "？"
    kBang,  // '!' or '?'
    kDot,   // '.'
};

// How the sentence p[nStart..nEnd) ends. The splitter cuts right behind a
// mark, so a full-width mark is the sentence's last two (GBK) or three
// (UTF-8) bytes.
inline SentenceEnd EndOfSentence(const char* p, size_t nStart, size_t nEnd, int nEncode) {
    if (nEnd == nStart) return SentenceEnd::kNone;
    char cLast = p[nEnd - 1];
    if (IsLineEnd(cLast)) return SentenceEnd::kLine;
    if (cLast == '!' || cLast == '?') return SentenceEnd::kBang;
    if (cLast == '.') return SentenceEnd::kDot;
    size_t nLen = nEncode == 1 ? 3 : 2;
    if (nEnd - nStart < nLen || static_cast<unsigned char>(p[nEnd - nLen]) < 0x80)
        return SentenceEnd::kNone;
    return EndMarkLength(p + nEnd - nLen, p + nEnd, nEncode) ? SentenceEnd::kWide
                                                             : SentenceEnd::kNone;
}

struct PairMark {
    int8_t nKind;  // 0: no pair mark; > 0: opens that kind; < 0: closes it
    uint8_t nLen;  // bytes of the character; 0 when no pair mark
};

// The pair mark at p, a character boundary.
inline PairMark PairMarkAt(const char* p, const char* pEnd, int nEncode) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x80) {
        int8_t nKind = kCharTables.anAsciiPair[c];
        return {nKind, static_cast<uint8_t>(nKind != 0)};
    }
    size_t nLen;
    int nRow = WideRow(p, pEnd, nEncode, nLen);
    if (nRow < 0) return {0, 0};
    int8_t nKind = kCharTables.anPair[nEncode == 1][nRow][static_cast<unsigned char>(p[nLen - 1])];
    return {nKind, static_cast<uint8_t>(nKind ? nLen : 0)};
}

// True when the ’ at p (nLen bytes) stands between two Latin letters, as in
// "don’t": an apostrophe, not a closer. Nothing before pFloor is read; in GBK
// the letter in front must have an ASCII byte before it, or it could be the
// second byte of a double-byte character.
bool IsApostrophe(const char* pFloor, const char* p, size_t nLen, const char* pEnd, int nEncode);

}  // namespace varnel_host

#endif
