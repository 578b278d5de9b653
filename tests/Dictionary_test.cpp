#include "Dictionary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CharReader.h"

namespace {

const std::string kNorth = "\xB1\xB1";  // 北

struct Split {
    std::string stem, postfix;
};

Split SplitWord(const std::string& word) {
    std::string stem(word.size() + 1, 'x');
    char postfix[9];
    memset(postfix, 'x', sizeof postfix);
    EXPECT_TRUE(PostfixSplit(word.c_str(), &stem[0], postfix));
    return {stem.c_str(), postfix};
}

TEST(Dictionary, SinglePostfixesAreWholeCharactersInAscendingOrder) {
    ASSERT_EQ(198u, strlen(sSinglePostfix));
    for (size_t i = 0; i < 198; i += 2) {
        const std::string c(sSinglePostfix + i, 2);
        SCOPED_TRACE(c);
        EXPECT_GE(static_cast<unsigned char>(c[0]), 0xB0);
        if (i > 0) {
            EXPECT_LT(std::string(sSinglePostfix + i - 2, 2), c);
        }
        EXPECT_EQ(sSinglePostfix + i, CC_Find(sSinglePostfix, c.c_str()));
        Split s = SplitWord(kNorth + c);
        EXPECT_EQ(kNorth, s.stem);
        EXPECT_EQ(c, s.postfix);
    }
}

TEST(Dictionary, MultiPostfixesInAscendingOrderEndedByAnEmptySlot) {
    size_t nSuffixOfAnother = 0;
    for (int i = 0; i < 50; ++i) {
        const char* p = sMultiPostfix[i];
        SCOPED_TRACE(p);
        size_t nLen = strlen(p);
        EXPECT_TRUE(nLen == 4 || nLen == 6 || nLen == 8);
        if (i > 0) {
            EXPECT_LT(strcmp(sMultiPostfix[i - 1], p), 0);
        }
        for (int j = 0; j < 50; ++j) {
            size_t nOther = strlen(sMultiPostfix[j]);
            if (j != i && nOther > nLen && strcmp(sMultiPostfix[j] + nOther - nLen, p) == 0) {
                ++nSuffixOfAnother;
                EXPECT_STREQ("\xB9\xAB\xC2\xB7", p);  // 公路 ...
                EXPECT_LT(j, i);                      // ... stands after 高速公路
            }
        }
        Split s = SplitWord(kNorth + p);
        EXPECT_EQ(kNorth, s.stem);
        EXPECT_EQ(p, s.postfix);
    }
    EXPECT_EQ(1u, nSuffixOfAnother);
    EXPECT_STREQ("", sMultiPostfix[50]);
}

TEST(Dictionary, PostfixSplitExamples) {
    // clang-format off
    const struct { std::string word, stem, postfix; } cases[] = {
        {"\xB3\xA4\xBD\xAD\xB4\xF3\xC7\xC5", "\xB3\xA4\xBD\xAD", "\xB4\xF3\xC7\xC5"},  // 长江大桥
        {"\xB1\xB1\xBE\xA9\xCA\xD0", "\xB1\xB1\xBE\xA9", "\xCA\xD0"},                  // 北京市
        {"\xBE\xA9\xBB\xA6\xB8\xDF\xCB\xD9\xB9\xAB\xC2\xB7",                            // 京沪高速公路
         "\xBE\xA9\xBB\xA6", "\xB8\xDF\xCB\xD9\xB9\xAB\xC2\xB7"},
        {"\xB9\xE3\xCE\xF7\xD7\xB3\xD7\xE5\xD7\xD4\xD6\xCE\xC7\xF8",                    // 广西壮族自治区
         "\xB9\xE3\xCE\xF7\xD7\xB3\xD7\xE5", "\xD7\xD4\xD6\xCE\xC7\xF8"},
        {"\xC7\xE0\xB2\xD8\xCC\xFA\xC2\xB7", "\xC7\xE0\xB2\xD8", "\xCC\xFA\xC2\xB7"},  // 青藏铁路
        {"\xC9\xBD\xB3\xC7\xCA\xD0", "\xC9\xBD", "\xB3\xC7\xCA\xD0"},  // 山城市: 城市 before 市
        {"\xB1\xB1\xBE\xA9", "\xB1\xB1\xBE\xA9", ""},   // 北京: no postfix
        {"\xB1\xB1\xD3\xB0", "\xB1\xB1\xD3\xB0", ""},   // 北影: D3 B0 lies across 坝邦 in the table
        {"\xCA\xD0", "", "\xCA\xD0"},                   // 市
        {"\xB9\xAB\xC2\xB7", "", "\xB9\xAB\xC2\xB7"},   // 公路
        {"\xB1\xB1\xBE\xA9" "a", "\xB1\xB1\xBE\xA9" "a", ""},  // 北京a
        {"a", "a", ""},
        {"", "", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        Split s = SplitWord(c.word);
        EXPECT_EQ(c.stem, s.stem);
        EXPECT_EQ(c.postfix, s.postfix);
    }
}

TEST(Dictionary, PostfixSplitIntoTheWordItself) {
    char word[] = "\xB3\xA4\xBD\xAD\xB4\xF3\xC7\xC5";  // 长江大桥
    char postfix[9];
    EXPECT_TRUE(PostfixSplit(word, word, postfix));
    EXPECT_STREQ("\xB3\xA4\xBD\xAD", word);     // 长江
    EXPECT_STREQ("\xB4\xF3\xC7\xC5", postfix);  // 大桥
}

TEST(Dictionary, BinarySearchIgnoresAsciiCaseOnly) {
    const char* upper[] = {"ABC"};
    EXPECT_EQ(0, BinarySearch("abc", upper, 1));
    EXPECT_FALSE(IsExists("abc", upper, 1));

    // Ascending with letters as lower case and the other bytes unsigned: 中 sorts last.
    const char* table[] = {"Apple", "banana", "Cherry", "date", "\xD6\xD0"};
    const struct {
        const char* key;
        int expected;
    } cases[] = {
        {"apple", 0}, {"BANANA", 1}, {"cherry", 2}, {"Date", 3}, {"\xD6\xD0", 4},
        {"0", -1},    {"banan", -1}, {"zzz", -1},   {"", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(c.expected, BinarySearch(c.key, table, 5));
    }
    EXPECT_EQ(-1, BinarySearch("apple", table, 0));
    EXPECT_EQ(-1, BinarySearch("apple", table, -3));
}

TEST(Dictionary, IsExistsComparesExactlyInAnyOrder) {
    const char* list[] = {"zeta", "Alpha", "\xD6\xD0", "beta"};  // 中 third
    EXPECT_TRUE(IsExists("beta", list, 4));
    EXPECT_TRUE(IsExists("\xD6\xD0", list, 4));
    EXPECT_FALSE(IsExists("alpha", list, 4));
    EXPECT_FALSE(IsExists("beta", list, 3));
    EXPECT_FALSE(IsExists("zeta", list, 0));
}

TEST(Dictionary, BinaryPrefixSearchFindsTheShortestEntryWithThePrefix) {
    const char* twoLong[] = {"abcd", "abz"};
    EXPECT_EQ(1, BinaryPrefixSearch("ab", 2, twoLong, 0, 1));  // the last index of the range
    EXPECT_EQ(0, BinaryPrefixSearch("abcd", 4, twoLong, 0, 1));
    EXPECT_EQ(-1, BinaryPrefixSearch("aa", 2, twoLong, 0, 1));  // sorts before every entry
    EXPECT_EQ(-1, BinaryPrefixSearch("b", 1, twoLong, 0, 1));   // sorts after every entry
    EXPECT_EQ(-1, BinaryPrefixSearch("ab", 2, nullptr, 0, 1));
    EXPECT_EQ(-1, BinaryPrefixSearch("ab", 2, twoLong, 1, 0));
    EXPECT_EQ(0, BinaryPrefixSearch("abx", 2, twoLong, 0, 0));  // only nWordLen bytes count

    const char* ties[] = {"a", "abc", "abd", "abe", "b"};
    EXPECT_EQ(2, BinaryPrefixSearch("ab", 2, ties, 0, 4));  // the probed entry wins a tie
    EXPECT_EQ(1, BinaryPrefixSearch("ab", 2, ties, 1, 2));  // the range bounds the scan
    const char* sides[] = {"ab1", "ab22", "ab33", "ab4"};
    EXPECT_EQ(0, BinaryPrefixSearch("ab", 2, sides, 0, 3));       // below before above
    const char* bytes[] = {"a", "\xD6\xD0", "\xD6\xD0\xB9\xFA"};  // a, 中, 中国
    EXPECT_EQ(1, BinaryPrefixSearch("\xD6\xD0\xB9\xFA", 2, bytes, 0, 2));
}

TEST(Dictionary, MaxMatchingFindsTheLongestEntryTheLineBeginsWith) {
    const struct {
        std::vector<const char*> table;
        const char* line;
        size_t length;
        long rule;
    } cases[] = {
        {{"a", "abcd", "abz"}, "abzx", 3, 2},
        {{"abcd", "abz"}, "abzx", 3, 1},
        {{"b", "c"}, "abzx", 0, -1},
        {{"ab", "abcdef"}, "abcdx", 2, 0},
        // The shortest entry with the prefix "a" is five bytes long: the
        // search jumps to five, then to seven.
        {{"abcde", "abcdefg"}, "abcdefgz", 7, 1},
        {{"abcde", "abcdefg"}, "abcdef", 5, 0},
        {{"x", "xy"}, "", 0, -1},
        {{"\xD6\xD0\xB9\xFA", "\xD6\xD0\xB9\xFA\xC8\xCB",
          "\xD6\xD0\xB9\xFA\xC8\xCB\xC3\xF1"},  // 中国 中国人 中国人民
         "\xD6\xD0\xB9\xFA\xC8\xCB\xC3\xF1\xD2\xF8\xD0\xD0",
         8,
         2},  // 中国人民银行
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        long nRule = 99;
        EXPECT_EQ(c.length, MaxMatching(c.line, const_cast<const char**>(c.table.data()),
                                        c.table.size(), &nRule));
        EXPECT_EQ(c.rule, nRule);
    }
    long nRule = 99;
    EXPECT_EQ(0u, MaxMatching("abc", nullptr, 0, &nRule));
    EXPECT_EQ(-1, nRule);
    const char* one[] = {"ab"};
    EXPECT_EQ(2u, MaxMatching("abc", one, 1, nullptr));
}

TEST(Dictionary, MaxPrefixCountsSharedLeadingBytes) {
    const struct {
        const char *a, *b;
        size_t expected;
    } cases[] = {
        {"abc", "abd", 2},
        {"ab", "abc", 2},
        {"abc", "ab", 2},
        {"", "abc", 0},
        {"abc", "", 0},
        {"abc", "abc", 3},
        {"\xD6\xD0\xB9\xFA", "\xD6\xD0\xBB\xAA", 2},  // 中国, 中华
        {"\xD6\xD0", "\xD6\xD1", 1},                  // ends inside a character
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(c.expected, MaxPrefix(c.a, c.b));
    }
}

}  // namespace
