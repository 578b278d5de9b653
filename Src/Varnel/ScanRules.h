// The byte rules of sentence splitting, written once for the plain scan, the
// fast scan's classifiers and the hosts: the end marks, the blanks skipped in
// front of a sentence and the length of a UTF-8 character. Header only, with
// nothing to link, so that host programs can include it.
#ifndef VARNEL_VARNEL_SCANRULES_H
#define VARNEL_VARNEL_SCANRULES_H

#include <cstddef>

namespace varnel {

// Marks that end a sentence in text of either encoding.
inline constexpr unsigned char kSingleByteMarks[] = {'?', '!', '\r', '\n'};

// "。！？" in GBK: A1 A3, A3 A1, A3 BF. Their run "\xA1\xA3\xA3\xA1\xA3\xBF"
// also holds A3 A3 (the full-width '#') across two marks; that pair is no mark.
inline constexpr unsigned char kGbkMarks[][2] = {{0xA1, 0xA3}, {0xA3, 0xA1}, {0xA3, 0xBF}};

// "。！？" in UTF-8: E3 80 82, EF BC 81, EF BC 9F.
inline constexpr unsigned char kUtf8Marks[][3] = {
    {0xE3, 0x80, 0x82}, {0xEF, 0xBC, 0x81}, {0xEF, 0xBC, 0x9F}};

// A '.' ends a sentence only in all-single-byte text, and only before a blank
// or the end of the text.
inline constexpr unsigned char kEnglishStop = '.';
inline constexpr unsigned char kEnglishStopFollower = ' ';

// Whitespace skipped in front of a sentence.
constexpr bool IsBlank(unsigned char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

// Every byte value, true for the single-byte marks: one load per byte for the
// plain scan, which asks for each byte of the text.
struct ByteSet {
    bool a[256];
};

constexpr ByteSet MakeByteSet(const unsigned char* pBytes, size_t nBytes) {
    ByteSet set{};
    for (size_t k = 0; k < nBytes; ++k) set.a[pBytes[k]] = true;
    return set;
}

inline constexpr ByteSet kSingleByteMarkSet =
    MakeByteSet(kSingleByteMarks, sizeof kSingleByteMarks);

constexpr bool IsSingleByteMark(unsigned char c) { return kSingleByteMarkSet.a[c]; }

// The two tests below name each of the three marks, so that the plain scan
// does not loop over the tables for every character.
static_assert(sizeof kGbkMarks / sizeof kGbkMarks[0] == 3 &&
                  sizeof kUtf8Marks / sizeof kUtf8Marks[0] == 3,
              "IsGbkMark and IsUtf8Mark test three marks");

constexpr bool MatchesMark(const unsigned char* p, const unsigned char (&mark)[2]) {
    return p[0] == mark[0] && p[1] == mark[1];
}

constexpr bool MatchesMark(const unsigned char* p, const unsigned char (&mark)[3]) {
    return p[0] == mark[0] && p[1] == mark[1] && p[2] == mark[2];
}

// p: a GBK pair whose first byte has its high bit set.
constexpr bool IsGbkMark(const unsigned char* p) {
    return MatchesMark(p, kGbkMarks[0]) || MatchesMark(p, kGbkMarks[1]) ||
           MatchesMark(p, kGbkMarks[2]);
}

// p: the three bytes of a UTF-8 character.
constexpr bool IsUtf8Mark(const unsigned char* p) {
    return MatchesMark(p, kUtf8Marks[0]) || MatchesMark(p, kUtf8Marks[1]) ||
           MatchesMark(p, kUtf8Marks[2]);
}

// p[i] is '.', all-single-byte text so far, and p[i + 1] a blank or the end.
constexpr bool EndsEnglishSentence(const unsigned char* p, size_t i, bool bEnglish) {
    return bEnglish && p[i] == kEnglishStop && (p[i + 1] == kEnglishStopFollower || p[i + 1] == 0);
}

// The bytes of the UTF-8 character that lead byte c starts: the lead byte
// alone says how many, whatever follows. Stray continuation bytes (80-BF)
// stand alone.
constexpr size_t Utf8Length(unsigned char c) {
    if (c < 0xC0) return 1;
    if (c < 0xE0) return 2;
    if (c < 0xF0) return 3;
    if (c < 0xF8) return 4;
    if (c < 0xFC) return 5;
    return 6;
}

}  // namespace varnel

#endif
