#include "ForeignName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "CharReader.h"

namespace {

// The characters of a set of two-byte characters, in stored order.
std::vector<std::string> Members(const char* sSet) {
    std::vector<std::string> v;
    for (size_t i = 0; sSet[i] != 0 && sSet[i + 1] != 0; i += 2)
        v.push_back(std::string(sSet + i, 2));
    return v;
}

std::string Join(const std::vector<std::string>& v) {
    std::string s;
    for (const std::string& m : v) s += m;
    return s;
}

size_t SharedMembers(const char* a, const char* b) {
    std::vector<std::string> va = Members(a), vb = Members(b);
    std::set<std::string> sa(va.begin(), va.end());
    size_t n = 0;
    for (const std::string& m : vb) n += sa.count(m);
    return n;
}

TEST(ForeignName, SetsHoldDistinctTwoByteCharacters) {
    const size_t sizes[3] = {382, 125, 252};
    for (int t = 0; t < 3; ++t) {
        SCOPED_TRACE(t);
        const char* sSet = g_sForeignCharSet[t];
        EXPECT_EQ(2 * sizes[t], strlen(sSet));
        std::vector<std::string> members = Members(sSet);
        for (const std::string& m : members) EXPECT_GE(static_cast<unsigned char>(m[0]), 0xA1);
        EXPECT_EQ(sizes[t], std::set<std::string>(members.begin(), members.end()).size());
    }
    EXPECT_EQ(0, strncmp(g_sForeignCharSet[0], "\xA1\xA4\xA1\xAA", 4));  // ·—
    EXPECT_EQ(0, strncmp(g_sForeignCharSet[1], "\xA1\xA4", 2));          // ·
    EXPECT_EQ(112u, SharedMembers(g_sForeignCharSet[0], g_sForeignCharSet[1]));
    EXPECT_EQ(78u, SharedMembers(g_sForeignCharSet[0], g_sForeignCharSet[2]));
    EXPECT_EQ(31u, SharedMembers(g_sForeignCharSet[1], g_sForeignCharSet[2]));
}

// CC_Find rejects the first occurrence of a pair at an odd offset, so these
// members lie hidden behind two neighbours; a change of order would move them.
TEST(ForeignName, MembersThatCcFindCannotSee) {
    const std::string hidden[3] = {
        "\xCB\xBF\xCE\xC4\xCF\xC4\xD0\xC1\xD2\xC1\xD3\xBA"  // 丝文夏辛伊雍
        "\xD6\xCE\xC0\xB5\xD1\xB7\xDC\xBD\xE5\xC8",         // 治赖逊芙迦
        "",
        "\xBE\xB4\xCE\xB4\xCF\xC4\xD6\xB2",  // 敬未夏植
    };
    for (int t = 0; t < 3; ++t) {
        SCOPED_TRACE(t);
        std::vector<std::string> unseen;
        for (const std::string& m : Members(g_sForeignCharSet[t])) {
            if (!CC_Find(g_sForeignCharSet[t], m.c_str())) unseen.push_back(m);
        }
        EXPECT_EQ(hidden[t], Join(unseen));
    }
}

TEST(ForeignName, GetCharCountReadsWholeCharacters) {
    EXPECT_EQ(3u, GetCharCount("0123456789", "a1b22", 0));
    EXPECT_EQ(2u, GetCharCount("0123456789", "1234", 2));
    const char* sHundredThousand = "\xB0\xD9\xC7\xA7";                     // 百千
    EXPECT_EQ(1u, GetCharCount(sHundredThousand, "\xC8\xFD\xB0\xD9", 0));  // 三百
    EXPECT_EQ(0u,
              GetCharCount(sHundredThousand, "\xD9\xC7", 0));  // only at an odd offset of the set
    EXPECT_EQ(1u, GetCharCount(sHundredThousand, "\xB0\xD9\xC7\xA7", 1));  // 百千: 百 read whole
    // A lead byte cut off by the NUL is no character, though its byte starts 千 in the set.
    EXPECT_EQ(0u, GetCharCount(sHundredThousand, "\xC8\xFD\xC7", 0));  // 三 and a stray byte
    EXPECT_EQ(0u, GetCharCount(sHundredThousand, "", 0));
}

TEST(ForeignName, CountsTypesAndWholeWords) {
    const struct {
        const char* word;
        size_t counts[3];
        int type;
        bool allForeign;
    } cases[] = {
        {"\xD4\xBC\xBA\xB2", {2, 0, 0}, 0, true},                                  // 约翰
        {"\xD4\xBC\xBA\xB2\xA1\xA4\xCA\xB7\xC3\xDC\xCB\xB9", {6, 2, 0}, 0, true},  // 约翰·史密斯
        {"\xD2\xC1\xCD\xF2\xC5\xB5\xB7\xF2", {3, 4, 2}, 1, true},                  // 伊万诺夫
        {"\xB1\xCB\xB5\xC3\xC2\xDE\xCD\xDE", {3, 4, 0}, 1, true},                  // 彼得罗娃
        {"\xC9\xBD\xCC\xEF", {1, 1, 2}, 2, true},                                  // 山田
        {"\xCC\xD9\xD4\xAD", {0, 0, 2}, 2, true},                                  // 藤原
        {"\xC9\xBD\xB1\xBE", {2, 1, 2}, 0, true},   // 山本: a tie goes to the lower type
        {"\xCE\xD2", {0, 0, 0}, 0, false},          // 我
        {"\xD2\xC1", {0, 1, 1}, 1, true},           // 伊: hidden in set 0
        {"\xCF\xC4", {0, 0, 0}, 0, false},          // 夏: hidden in sets 0 and 2
        {"\xD6\xB2\xCC\xEF", {0, 0, 1}, 2, false},  // 植田: 植 hidden in set 2
        {"\xD6\xD0\xB9\xFA", {1, 0, 1}, 0, false},  // 中国
        {"\xCB\xC9\xCF\xC2", {0, 0, 1}, 2, false},  // 松下
        {"Smith", {0, 0, 0}, 0, false},
        {"", {0, 0, 0}, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        size_t nMax = 0;
        for (int t = 0; t < 3; ++t) {
            EXPECT_EQ(c.counts[t], GetCharCount(g_sForeignCharSet[t], c.word, 0)) << "set " << t;
            nMax = std::max(nMax, c.counts[t]);
        }
        std::string word = c.word;
        EXPECT_EQ(nMax, GetForeignCharCount(&word[0]));
        EXPECT_EQ(c.type, GetForeignType(c.word));
        EXPECT_EQ(c.allForeign, IsAllForeign(&word[0]));
    }
}

TEST(ForeignName, IsForeignNeedsMostOfTheWord) {
    const struct {
        const char* word;
        bool expected;
    } cases[] = {
        {"", true},  // up to two bytes: a count of half the length is enough
        {"a", true},
        {"\xD4\xBC", true},                                  // 约
        {"\xCE\xD2", false},                                 // 我
        {"\xD4\xBC\xBA\xB2", true},                          // 约翰
        {"\xB2\xBC\xCA\xB2", true},                          // 布什
        {"\xD6\xD0\xB9\xFA", false},                         // 中国: one of two
        {"\xD6\xD0\xB9\xFA\xC8\xCB", false},                 // 中国人
        {"\xCE\xD2\xC3\xC7", false},                         // 我们
        {"\xD4\xBC\xBA\xB2\xCE\xD2", true},                  // 约翰我: two of three
        {"\xD4\xBC\xBA\xB2\xCE\xD2\xC3\xC7", false},         // 约翰我们: two of four
        {"\xC7\xC7\xD6\xCE\xA1\xA4\xB2\xBC\xCA\xB2", true},  // 乔治·布什: 治 hidden in set 0
        {"\xD2\xC1\xC0\xF6\xC9\xAF\xB0\xD7", true},          // 伊丽莎白
        {"Smith", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        std::string word = c.word;
        EXPECT_EQ(c.expected, IsForeign(&word[0]));
    }
}

}  // namespace
