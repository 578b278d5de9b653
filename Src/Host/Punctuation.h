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

inline bool IsSmallLatin(char c) { return c >= 'a' && c <= 'z'; }
inline bool IsCapitalLatin(char c) { return c >= 'A' && c <= 'Z'; }
inline bool IsLatin(char c) { return IsSmallLatin(c) || IsCapitalLatin(c); }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The byte length of the character at p as the splitter reads it: in GBK two
// bytes when the first is 0x80 or above, in UTF-8 as many as the first byte
// announces; never past pEnd.
size_t CharLength(const char* p, const char* pEnd, int nEncode);

// The length of the closing mark at p, or 0: ” ’ 」 』 ） 》 〉 】 〕 〗 ］ ｝ 〞
// and '"', '\'', ')', ']'.
size_t CloserLength(const char* p, const char* pEnd, int nEncode);

// The length of the end mark at p, or 0: "。", "！", "？", '?', '!' and '.'.
size_t EndMarkLength(const char* p, const char* pEnd, int nEncode);

// How the splitter ended a sentence, told by its last character.
enum class SentenceEnd : uint8_t {
    kNone,  // no mark: the end of the text
    kLine,  // CR or LF
    kWide,  // "。", "！" or "？"
    kBang,  // '!' or '?'
    kDot,   // '.'
};

// How the sentence p[nStart..nEnd) ends.
SentenceEnd EndOfSentence(const char* p, size_t nStart, size_t nEnd, int nEncode);

// The pairs of quotes and brackets that no sentence end breaks: “” ‘’ 「」
// 『』 《》 〈〉 （） 【】 〔〕 ［］ and the ASCII '"', '(' ... ')', '[' ... ']'.
// A pair is a kind from 1 to kPairKinds; the ASCII '"' both opens and closes.
constexpr int kPairKinds = 13;
constexpr int kAsciiQuote = kPairKinds;

struct PairMark {
    int8_t nKind;  // 0: no pair mark; > 0: opens that kind; < 0: closes it
    uint8_t nLen;  // bytes of the character
};

// Tables of the pair marks by the last byte of the character: for UTF-8 the
// three-byte forms led by E2 80, E3 80 and EF BC; for GBK the two-byte forms
// led by A1 and A3; ASCII on its own.
struct PairTables {
    int8_t anAscii[128];
    int8_t anUtf8[3][256];
    int8_t anGbk[2][256];
};
extern const PairTables kPairTables;

// The pair mark at p, a character boundary; nLen is 0 when none. ’ between
// two Latin letters is an apostrophe, not a closer.
inline PairMark PairMarkAt(const char* p, const char* pEnd, int nEncode) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x80)
        return {kPairTables.anAscii[c], static_cast<uint8_t>(kPairTables.anAscii[c] != 0)};
    int nRow = -1, nLen = 2;
    if (nEncode == 1) {
        nLen = 3;
        if (pEnd - p < 3) return {0, 0};
        unsigned char c1 = static_cast<unsigned char>(p[1]);
        if (c == 0xE2 && c1 == 0x80) nRow = 0;
        if (c == 0xE3 && c1 == 0x80) nRow = 1;
        if (c == 0xEF && c1 == 0xBC) nRow = 2;
        if (nRow < 0) return {0, 0};
    } else {
        if (pEnd - p < 2) return {0, 0};
        if (c == 0xA1) nRow = 0;
        if (c == 0xA3) nRow = 1;
        if (nRow < 0) return {0, 0};
    }
    unsigned char cLast = static_cast<unsigned char>(p[nLen - 1]);
    int8_t nKind = nEncode == 1 ? kPairTables.anUtf8[nRow][cLast] : kPairTables.anGbk[nRow][cLast];
    return {nKind, static_cast<uint8_t>(nKind ? nLen : 0)};
}

// The kind of the pair ‘’.
constexpr int kSingleQuote = 2;

// True when the ’ at p (nLen bytes) stands between two Latin letters, as in
// "don’t": an apostrophe, not a closer. Nothing before pFloor is read; in GBK
// the letter in front must have an ASCII byte before it, or it could be the
// second byte of a double-byte character.
bool IsApostrophe(const char* pFloor, const char* p, size_t nLen, const char* pEnd, int nEncode);

}  // namespace varnel_host

#endif
