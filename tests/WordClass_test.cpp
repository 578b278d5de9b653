#include "WordClass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

typedef bool (*Predicate)(unsigned char*);

// The word in a buffer of exactly its size, so that sanitizers catch reads past the NUL.
std::vector<unsigned char> Buffer(const std::string& s) {
    std::vector<unsigned char> v(s.begin(), s.end());
    v.push_back(0);
    return v;
}

bool Holds(Predicate f, const std::string& s) { return f(Buffer(s).data()); }

bool Number(const std::string& s, size_t nLen = 0) { return IsAllNum(Buffer(s).data(), nLen); }

// Runs an in-place normaliser on a copy of s; it must hand back its argument.
std::string Rewritten(char* (*normalise)(char*), const std::string& s) {
    std::vector<unsigned char> buf = Buffer(s);
    char* p = reinterpret_cast<char*>(buf.data());
    EXPECT_EQ(p, normalise(p));
    return p;
}

struct PredicateCase {
    const char* name;
    Predicate f;
    std::string in;
    bool expected;
};

TEST(WordClass, PredicatesByByteRanges) {
    // clang-format off
    const PredicateCase cases[] = {
        {"IsAllChinese", IsAllChinese, "\xD6\xD0\xB9\xFA\xC8\xCB", true},  // 中国人
        {"IsAllChinese", IsAllChinese, "\xD6\xD0" "a", false},             // 中a
        {"IsAllChinese", IsAllChinese, "\xD6\xD0" "ab", false},            // 中ab
        {"IsAllChinese", IsAllChinese, "\xB0\x41\xB0\x41", true},  // second bytes are not examined
        {"IsAllChinese", IsAllChinese, "\xA1\xA3", false},          // 。
        {"IsAllChinese", IsAllChinese, "\xF8\xA1", false},          // first byte past the Chinese rows
        {"IsAllNonChinese", IsAllNonChinese, "abc", true},
        {"IsAllNonChinese", IsAllNonChinese, "\xA3\xAC", true},         // ，
        {"IsAllNonChinese", IsAllNonChinese, "a\xA3\xAC" "b", true},    // a，b
        {"IsAllNonChinese", IsAllNonChinese, "a\xD6\xD0", false},       // a中
        {"IsAllNonChinese", IsAllNonChinese, "\x81\xB0", true},  // B0 is the second byte here
        {"IsAllNonChinese", IsAllNonChinese, "a\x81", true},     // a lead byte at the end
        {"IsAllIndex", IsAllIndex, "\xA2\xD9", true},                // ①
        {"IsAllIndex", IsAllIndex, "\xA2\xD9" "a", true},            // ①a
        {"IsAllIndex", IsAllIndex, "\xA2\xC5\xA2\xC6" "ab", true},   // ⑴⑵ab
        {"IsAllIndex", IsAllIndex, "ab", true},
        {"IsAllIndex", IsAllIndex, "a\xA2\xD9", false},      // a①
        {"IsAllIndex", IsAllIndex, "a1", false},
        {"IsAllIndex", IsAllIndex, "\xA2\xD9\xA3\xB1", false},  // ①１
        {"IsAllLetter", IsAllLetter, "\xA3\xC1\xA3\xC2\xA3\xE3", true},  // ＡＢｃ
        {"IsAllLetter", IsAllLetter, "\xA3\xDA\xA3\xFA", true},          // Ｚｚ
        {"IsAllLetter", IsAllLetter, "ABC", false},
        {"IsAllLetter", IsAllLetter, "\xA3\xC1" "1", false},  // Ａ1
        {"IsAllLetter", IsAllLetter, "\xA3\xB1", false},      // １
        {"IsAllLetter", IsAllLetter, "\xA3\xDB", false},      // ［, just past Ｚ
        {"IsAllDelimiter", IsAllDelimiter, "\xA3\xAC\xA1\xA3", true},  // ，。
        {"IsAllDelimiter", IsAllDelimiter, "\xA1\xA2", true},          // 、
        {"IsAllDelimiter", IsAllDelimiter, "\xA3\xC1\xA3\xC2", true},  // ＡＢ
        {"IsAllDelimiter", IsAllDelimiter, ",", false},
        {"IsAllDelimiter", IsAllDelimiter, "\xA2\xD9", false},  // ①
        {"IsAllDelimiter", IsAllDelimiter, "\xA3\xAC" "a", false},  // ，a
    };
    // clang-format on
    for (const PredicateCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " on \"" + c.in + "\"");
        EXPECT_EQ(c.expected, Holds(c.f, c.in));
    }
}

TEST(WordClass, EmptyWordIsTrueForEveryPredicateButIsDelimiter) {
    for (Predicate f : {IsAllChinese, IsAllNonChinese, IsAllIndex, IsAllLetter, IsAllDelimiter}) {
        EXPECT_TRUE(Holds(f, ""));
    }
    EXPECT_TRUE(IsAllSingleByte(Buffer("").data(), 0));
    EXPECT_TRUE(Number(""));
    EXPECT_FALSE(IsDelimiter(""));
}

TEST(WordClass, IsAllSingleByteTakesTheLengthAsGiven) {
    std::vector<unsigned char> ab = Buffer("ab\xD6\xD0");  // ab中
    EXPECT_TRUE(IsAllSingleByte(ab.data(), 2));
    EXPECT_FALSE(IsAllSingleByte(ab.data(), 0));
    // A nonzero length reads past the NUL.
    unsigned char withNul[] = {'a', 0, 0xB0, 0};
    EXPECT_TRUE(IsAllSingleByte(withNul, 0));
    EXPECT_FALSE(IsAllSingleByte(withNul, 3));
}

TEST(WordClass, IsDelimiterAcceptsOneByteOfTheSet) {
    for (char c : std::string("\t\r \n.,(){}[]:;\"'<>?/~@#$%^&*_-+=")) {
        const char s[2] = {c, 0};
        SCOPED_TRACE(int(c));
        EXPECT_TRUE(IsDelimiter(s));
    }
    for (const char* s : {",,", "a", "!", "|", "\\", "`", "\xA3\xAC"}) {  // "，" last
        SCOPED_TRACE(s);
        EXPECT_FALSE(IsDelimiter(s));
    }
}

TEST(WordClass, NumberExpressions) {
    // clang-format off
    const char* numbers[] = {
        "12", "3.14", "3.", "1\xA3\xAE",                 // 1．
        "+.5", "\xB5\xDA" "5",                            // 第5
        "\xB5\xDA" "1\xB0\xD9",                           // 第1百
        "\xA3\xB1\xA3\xB2",                               // １２
        "\xA3\xB1\xA3\xAE\xA3\xB5",                       // １．５
        "\xA3\xB5.5",                                     // ５.5
        "\xA3\xB1\xA3\xAE\xA3\xB2.3",                     // １．２.3
        "1/2", "1\xA1\xC3" "2",                           // 1∶2
        "1\xA1\xA4" "5",                                  // 1·5
        "\xA3\xB1\xA3\xAF\xA3\xB2",                       // １／２
        "\xA1\xC0" "3",                                   // ±3
        "\xA3\xAB\xA3\xB3",                               // ＋３
        "\xA1\xAA" "7",                                   // —7
        "-12.5%", "3.1%", "\xA3\xB1\xA3\xB2\xA3\xA5",     // １２％
        "12\xA1\xEB",                                     // 12‰
        "12.5\xD2\xDA",                                   // 12.5亿
        "3.14\xB0\xD9\xCD\xF2",                           // 3.14百万
        "5\xB0\xD9\xCD\xF2",                              // 5百万
        "5\xD2\xDA\xD2\xDA",                              // 5亿亿
        "7\xB0\xDB\xC7\xAA\xD5\xD7\xC7\xA7",              // 7佰仟兆千
        "\xB0\xD9", "+", "\xB5\xDA", "%",                 // 百, +, 第, %
    };
    // clang-format on
    for (const char* s : numbers) {
        SCOPED_TRACE(s);
        EXPECT_TRUE(Number(s));
    }
    // clang-format off
    const char* nonNumbers[] = {
        ".5", "1.2.3", "3.1x", "3.x", "3.1%x", "3.5%%",
        "5%\xB0\xD9",          // 5%百
        "5\xB0\xD9%",          // 5百%
        "5\xB0\xD9x",          // 5百x
        "1,000",
        "\xB5\xDA\xD2\xBB",    // 第一
        "abc",
        "1.\xA3\xB5",          // 1.５: full-width digits after an ASCII separator
        "++1",
        "5\xB0",               // a lead byte cut off by the end is no unit
        "\xB0",
    };
    // clang-format on
    for (const char* s : nonNumbers) {
        SCOPED_TRACE(s);
        EXPECT_FALSE(Number(s));
    }
}

TEST(WordClass, IsAllNumLooksOnlyAtTheFirstNLenBytes) {
    EXPECT_TRUE(Number("12ab", 2));
    EXPECT_FALSE(Number("12ab", 3));
    EXPECT_TRUE(Number("5\xB0\xD9x", 2));  // 5百x: a unit is read whole at the last byte
}

TEST(WordClass, WordStandardKeepsLettersDigitsAndChinese) {
    // clang-format off
    const struct {
        std::string in, expected;
    } cases[] = {
        {"\xA3\xC1\xA3\xE2\xA3\xB1\xA3\xB2\xA3\xAC\xD6\xD0\xB9\xFA X",  // Ａｂ１２，中国 X
         "ab12\xD6\xD0\xB9\xFA" "x"},                                   // ab12中国x
        {"Hello, World!", "helloworld"},
        {"\xA1\xB0\xC4\xE3\xBA\xC3\xA1\xB1", "\xC4\xE3\xBA\xC3"},  // “你好” -> 你好
        {"\xA2\xD9\xA2\xDA", ""},                                  // ①②
        {"\xA3\xDA\xA3\xB9\xA3\xFA", "z9z"},                       // Ｚ９ｚ
        {"\x81\x40\xB0\x40" "a", "a"},  // extension pairs below the GB2312 ranges go
        {"z\xB0", "z"},                 // so does a lead byte at the end
        {"", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(c.expected, Rewritten(WordStandard, c.in));
    }
}

TEST(WordClass, StrNormalizeCollapsesWhiteSpace) {
    // clang-format off
    const struct {
        std::string in, expected;
    } cases[] = {
        {"  a \t b \n", "a b"}, {"ab ", "ab"}, {"a\r\nb", "a b"}, {"    ", ""},
        {"", ""},               {"a  b\tc", "a b c"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(c.expected, Rewritten(StrNormalize, c.in));
    }
    EXPECT_EQ(nullptr, StrNormalize(nullptr));
}

}  // namespace
