#include "SentenceScan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kHelloBye = "\xC4\xE3\xBA\xC3\xA1\xA3\xD4\xD9\xBC\xFB";  // 你好。再见

TEST(SentenceScan, BoundsAroundAPosition) {
    // clang-format off
    const struct { const char* text; size_t pos, start, end; } cases[] = {
        {kHelloBye, 0, 0, 6},
        {kHelloBye, 4, 0, 6},   // 。 begins at 4
        {kHelloBye, 6, 6, 10},  // the mark just before ends the previous sentence
        {kHelloBye, 8, 6, 10},
        {kHelloBye, 10, 6, 10},
        {"Hi. Yes; no", 0, 0, 3},
        {"Hi. Yes; no", 3, 3, 8},
        {"Hi. Yes; no", 4, 3, 8},
        {"Hi. Yes; no", 10, 8, 11},
        {"ab\tcd", 4, 3, 5}, {"ab\rcd", 4, 3, 5}, {"ab\ncd", 1, 0, 3},
        {"ab!cd", 4, 3, 5},  {"ab?cd", 1, 0, 3},
        {"a\xA3\xBB" "bc", 4, 3, 5},     // a；bc
        {"a\xA3\xA1" "bc", 0, 0, 3},     // a！bc
        {"a\xA3\xBF" "bc", 4, 3, 5},     // a？bc
        {"a\xA3\xA3" "b.", 4, 0, 5},     // a＃b.: ＃ lies across 。！ in the set, no mark
        {"\xA1\xA3" "ab", 3, 0, 4},      // 。ab: a mark at offsets 0-1 is never tested backwards
        {".abc", 3, 0, 4},
        {"a.bc", 2, 2, 4},
        {"abc", 1, 0, 3},
        {"", 0, 0, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " @" + std::to_string(c.pos));
        EXPECT_EQ(c.start, FindSentenceStart(c.text, c.pos));
        EXPECT_EQ(c.end, FindSentenceEnd(c.text, c.pos));
    }
}

TEST(SentenceScan, EveryMarkIsFoundWhateverItsDistance) {
    const std::string far = std::string(300, 'x') + ";" + std::string(300, 'y');
    EXPECT_EQ(301u, FindSentenceStart(far.c_str(), far.size()));
    EXPECT_EQ(301u, FindSentenceEnd(far.c_str(), 0));
    for (size_t pos = 0; pos < 4; ++pos) EXPECT_EQ(0u, FindSentenceStart(".abc", pos));
    EXPECT_EQ(1u, FindSentenceEnd(".abc", 0));
    EXPECT_EQ(2u, FindSentenceEnd("\xA1\xA3"
                                  "ab",
                                  0));                   // 。ab
    EXPECT_EQ(11u, FindSentenceEnd("Hi. Yes; no", 20));  // past the end
}

// One piece that StrLine handed out.
struct Piece {
    std::string line;
    int status;
    char sep;
    bool operator==(const Piece& o) const {
        return line == o.line && status == o.status && sep == o.sep;
    }
};

std::ostream& operator<<(std::ostream& os, const Piece& p) {
    return os << "{\"" << p.line << "\", " << p.status << ", " << int(p.sep) << "}";
}

// Cuts the whole text line by line, writing every cut byte back as a caller
// would, and checks that the text is whole again at the end.
std::vector<Piece> Walk(const std::string& text, bool bProtect) {
    std::vector<char> buf(text.begin(), text.end());
    buf.push_back(0);
    std::vector<Piece> pieces;
    char* p = buf.data();
    for (int guard = 0; guard < 20; ++guard) {
        char* pNext = p;
        char sep = 'Z';
        int status = 7;
        char* line = StrLine(p, &pNext, &sep, &status, bProtect);
        if (!line) {
            EXPECT_EQ(nullptr, pNext);
            EXPECT_EQ(0, sep);
            EXPECT_EQ(0, status);
            break;
        }
        pieces.push_back({line, status, sep});
        // A protected segment also loses the first byte of its closer.
        if (status == 1) line[strlen(line)] = '^';
        if (!pNext) break;
        EXPECT_EQ(0, *pNext);
        *pNext = sep;
        p = pNext;
    }
    EXPECT_EQ(text, std::string(buf.data()));
    return pieces;
}

TEST(SentenceScan, StrLineCutsLinesAndProtectedSegments) {
    const struct {
        std::string text;
        bool protect;
        std::vector<Piece> pieces;
    } cases[] = {
        {"  abc\r\ndef", false, {{"abc", 0, '\r'}, {"def", 0, 0}}},
        {"a\n\n\r\nb  ", false, {{"a", 0, '\n'}, {"b  ", 0, 0}}},
        {" \t\r\n ", false, {}},
        {"", true, {}},
        {"x^^a^^\n", true, {{"x", 0, '^'}, {"a", 1, '\n'}}},
        {"x^^a^^\n", false, {{"x^^a^^", 0, '\n'}}},
        {"^^a\nb^^c", true, {{"a\nb", 1, 'c'}, {"c", 0, 0}}},
        {"^^abc^^", true, {{"abc", 1, 0}}},
        {"^^^^x", true, {{"", 1, 'x'}, {"x", 0, 0}}},
        {"  ^^ab^^  \ncd", true, {{"ab", 1, ' '}, {"cd", 0, 0}}},
        {"^^a\nb", true, {{"^^a", 0, '\n'}, {"b", 0, 0}}},  // no closer
        {"a^b^^c", true, {{"a^b^^c", 0, 0}}},               // a lone '^' opens nothing
        {"^^a^b^^", true, {{"^^a^b^^", 0, 0}}},             // only the first '^' is tried as closer
        {"^^\nab^^", true, {{"^^", 0, '\n'}, {"ab^^", 0, 0}}},  // no byte before the break
        {"ab\ncd^^x^^", true, {{"ab", 0, '\n'}, {"cd", 0, '^'}, {"x", 1, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.pieces, Walk(c.text, c.protect));
    }
}

TEST(SentenceScan, StrLineReportsTheCutPosition) {
    char text[] = "  abc\r\ndef";
    char* pNext = nullptr;
    char sep = 0;
    char* line = StrLine(text, &pNext, &sep, nullptr, false);
    EXPECT_EQ(text + 2, line);
    EXPECT_EQ(text + 5, pNext);
    EXPECT_EQ('\r', sep);

    char segment[] = "^^abc^^";
    int status = 0;
    line = StrLine(segment, &pNext, &sep, &status, true);
    EXPECT_EQ(segment + 2, line);
    EXPECT_EQ(segment + 7, pNext);  // the terminating NUL
    EXPECT_EQ(1, status);

    pNext = text;
    sep = 'x';
    EXPECT_EQ(nullptr, StrLine(nullptr, &pNext, &sep, nullptr, true));
    EXPECT_EQ(nullptr, pNext);
    EXPECT_EQ(0, sep);
}

}  // namespace
