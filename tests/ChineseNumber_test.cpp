#include "ChineseNumber.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Characters(const std::string& s) {
    std::vector<std::string> v;
    for (size_t i = 0; i + 1 < s.size(); i += 2) v.push_back(s.substr(i, 2));
    return v;
}

bool ChineseNum(const std::string& s, size_t nLen = 0) {
    std::string word = s;
    return IsAllChineseNum(&word[0], nLen);
}

TEST(ChineseNumber, IsAllChineseNumAcceptsEveryNumeralCharacter) {
    // clang-format off
    const std::string numerals =
        "\xC1\xE3\xA1\xF0\xD2\xBB\xB6\xFE\xC1\xBD\xC8\xFD\xCB\xC4\xCE\xE5"  // 零○一二两三四五
        "\xC1\xF9\xC6\xDF\xB0\xCB\xBE\xC5\xCA\xAE\xD8\xA5\xB0\xD9\xC7\xA7"  // 六七八九十廿百千
        "\xCD\xF2\xD2\xDA\xD2\xBC\xB7\xA1\xC8\xFE\xCB\xC1\xCE\xE9\xC2\xBD"  // 万亿壹贰叁肆伍陆
        "\xC6\xE2\xB0\xC6\xBE\xC1\xCA\xB0\xB0\xDB\xC7\xAA\xD5\xD7\xA1\xC3"  // 柒捌玖拾佰仟兆∶
        "\xA1\xA4\xA3\xAE\xA3\xAF\xB5\xE3\xBC\xB8\xC9\xCF\xB3\xC9";         // ·．／点几上成
    // clang-format on
    std::vector<std::string> members = Characters(numerals);
    EXPECT_EQ(39u, members.size());
    for (const std::string& c : members) {
        SCOPED_TRACE(c);
        EXPECT_TRUE(ChineseNum(c));
    }
}

TEST(ChineseNumber, IsAllChineseNumWords) {
    // clang-format off
    const struct { std::string word; bool expected; } cases[] = {
        {"\xC8\xFD\xCA\xAE\xCE\xE5", true},                  // 三十五
        {"\xB5\xDA\xC8\xFD", true},                          // 第三
        {"\xCA\xFD\xCA\xAE", true},                          // 数十
        {"\xC8\xFD\xB7\xD6\xD6\xAE\xD2\xBB", true},          // 三分之一
        {"\xB0\xD9\xB7\xD6\xD6\xAE\xCE\xE5\xCA\xAE", true},  // 百分之五十
        {"\xD2\xBB\xB5\xE3\xCE\xE5", true},                  // 一点五
        {"\xBC\xB8\xCA\xAE", true},                          // 几十
        {"\xC9\xCF\xCD\xF2", true},                          // 上万
        {"\xC8\xFD\xB3\xC9", true},                          // 三成
        {"\xB6\xFE\xA1\xF0\xA1\xF0\xB0\xCB", true},          // 二○○八
        {"\xD8\xA5", true},                                  // 廿
        {"\xCE\xE9\xCA\xB0", true},                          // 伍拾
        {"\xB5\xDA", true},                                  // 第
        {"", true},
        {"\xC8\xFD\xB5\xDA", false},                  // 三第: the prefix only leads
        {"\xB5\xDA\xCA\xFD", false},                  // 第数
        {"\xB6\xFE\xA9\x96\xA9\x96\xB0\xCB", false},  // 二〇〇八: 〇 (A9 96) is not a numeral here
        {"\xB7\xD6", false},                          // 分 alone
        {"a", false},
        {"5", false},
        {"\xA3\xB1", false},                          // １
        {"\xC8\xFD" "a", false},                      // 三a
        {"\xC8\xFD\xC1", false},                      // 三 and a lead byte that starts 零
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(c.expected, ChineseNum(c.word));
    }
}

TEST(ChineseNumber, IsAllChineseNumKeepsCharactersInsideTheLength) {
    const std::string oneThird = "\xC8\xFD\xB7\xD6\xD6\xAE\xD2\xBB";  // 三分之一
    EXPECT_TRUE(ChineseNum(oneThird, 6));                             // 三分之
    EXPECT_FALSE(ChineseNum(oneThird, 4));            // 三分: "分之" does not fit
    EXPECT_FALSE(ChineseNum("\xC8\xFD\xCA\xAE", 3));  // 三十: half of 十 is left over
    EXPECT_TRUE(ChineseNum(oneThird, 2));
}

TEST(ChineseNumber, ChineseNum2DigitTable) {
    // clang-format off
    const struct { const char* chinese; const char* digit; } known[] = {
        {"\xC1\xE3", "0"}, {"\xA1\xF0", "0"},                    // 零 ○
        {"\xD2\xBB", "1"}, {"\xD2\xBC", "1"},                    // 一 壹
        {"\xB6\xFE", "2"}, {"\xC1\xBD", "2"}, {"\xB7\xA1", "2"},  // 二 两 贰
        {"\xC8\xFD", "3"}, {"\xC8\xFE", "3"},                    // 三 叁
        {"\xCB\xC4", "4"}, {"\xCB\xC1", "4"},                    // 四 肆
        {"\xCE\xE5", "5"}, {"\xC1\xF9", "6"}, {"\xC6\xDF", "7"},  // 五 六 七
        {"\xB0\xCB", "8"}, {"\xBE\xC5", "9"}, {"\xBE\xC1", "9"},  // 八 九 玖
        {"\xCA\xAE", ""}, {"\xB0\xD9", ""}, {"\xC7\xA7", ""}, {"\xCD\xF2", ""},  // 十 百 千 万
    };
    const char* unknown[] = {
        "\xCE\xE9", "\xC2\xBD", "\xC6\xE2", "\xB0\xC6",  // 伍 陆 柒 捌
        "\xA9\x96",                                      // 〇
        "", "5", "\xC1",                                 // a lead byte alone
        "\xD2\xBB\xB6\xFE",                              // 一二: more than one character
        "\xBB\xD2",                                      // bytes across 一壹 in the table
    };
    // clang-format on
    char sNum[8];
    for (const auto& c : known) {
        SCOPED_TRACE(c.chinese);
        EXPECT_TRUE(ChineseNum2Digit(c.chinese, sNum));
        EXPECT_STREQ(c.digit, sNum);
    }
    for (const char* s : unknown) {
        SCOPED_TRACE(s);
        strcpy(sNum, "x");
        EXPECT_FALSE(ChineseNum2Digit(s, sNum));
        EXPECT_STREQ("", sNum);
    }
}

TEST(ChineseNumber, ChineseNumStr2DigitGoesDigitByDigit) {
    // clang-format off
    const struct { const char* chinese; bool ok; const char* digits; } cases[] = {
        {"\xB6\xFE\xA1\xF0\xA1\xF0\xB0\xCB", true, "2008"},        // 二○○八
        {"\xD2\xBB\xBE\xC5\xBE\xC5\xB0\xCB", true, "1998"},        // 一九九八
        {"\xD2\xBB\xB0\xD9\xB6\xFE\xCA\xAE\xC8\xFD", true, "123"},  // 一百二十三
        {"\xB6\xFE\xCA\xAE", true, "2"},                           // 二十
        {"\xD2\xBC\xB7\xA1\xC8\xFE\xCB\xC1", true, "1234"},        // 壹贰叁肆
        {"", true, ""},
        {"\xB6\xFE\xA9\x96\xA9\x96\xB0\xCB", false, "2"},  // 二〇〇八 stops at 〇
        {"\xC8\xFD" "a", false, "3"},                      // 三a
        {"\xC8\xFD\xC1", false, "3"},                      // 三 and a lead byte alone
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chinese);
        char sNum[16] = "junk";
        EXPECT_EQ(c.ok, ChineseNumStr2Digit(c.chinese, sNum));
        EXPECT_STREQ(c.digits, sNum);
    }
}

TEST(ChineseNumber, IsYearTimeRules) {
    // clang-format off
    const struct { std::string word; bool expected; } cases[] = {
        {"\xB6\xFE\xA9\x96\xA9\x96\xB0\xCB", true},  // 二〇〇八
        {"\xB6\xFE\xA1\xF0\xA1\xF0\xB0\xCB", true},  // 二○○八
        {"\xD2\xBB\xBE\xC5\xBE\xC5\xB0\xCB", true},  // 一九九八
        {"\xD2\xBC\xB7\xA1\xC8\xFE\xCB\xC1", true},  // 壹贰叁肆
        {"\xB6\xFE\xA9\x96", true},                  // 二〇
        {"1998", true}, {"98", true}, {"50", true},
        {"\xA3\xB1\xA3\xB9\xA3\xB9\xA3\xB8", true},  // １９９８
        {"\xA3\xB9\xA3\xB8", true},                  // ９８
        {"\xA3\xB5\xA3\xB0", true},                  // ５０
        {"123456", true},
        {"\xB6\xFE\xC7\xA7\xC1\xE3\xB0\xCB", true},  // 二千零八
        {"\xC7\xA7", true}, {"\xC7\xAA", true},      // 千, 仟
        {"45", false},
        {"\xA3\xB4\xA3\xB5", false},                 // ４５
        {"12345", false},
        {"\xA9\x96", false},                         // 〇: one character is too short
        {"\xB6\xFE\xC1\xE3\xC1\xE3\xB0\xCB\xC4\xEA", false},  // 二零零八年
        {"\xC7\xA7\xC7\xA7\xC1\xE3\xB0\xCB", false}, // 千千零八: three thousand-or-zero
        {"\xB6\xFE\xCA\xAE", false},                 // 二十: 十 is no year digit
        {"5\xB6\xFE\xA9\x96", false},                // 5二〇: a byte besides the year digits
        {"", false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(c.expected, IsYearTime(c.word.c_str(), 0));
    }
    EXPECT_TRUE(IsYearTime("1998xx", 4));
    EXPECT_FALSE(IsYearTime("1998xx", 6));
}

TEST(ChineseNumber, EveryYearDigitMakesAYear) {
    // clang-format off
    const std::string yearDigits =
        "\xC1\xE3\xA1\xF0\xA9\x96\xA3\xB0\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4"  // 零○〇０一二三四
        "\xCE\xE5\xC1\xF9\xC6\xDF\xB0\xCB\xBE\xC5\xD2\xBC\xB7\xA1\xC8\xFE"  // 五六七八九壹贰叁
        "\xCB\xC1\xCE\xE9\xC2\xBD\xC6\xE2\xB0\xC6\xBE\xC1";                 // 肆伍陆柒捌玖
    // clang-format on
    std::vector<std::string> digits = Characters(yearDigits);
    EXPECT_EQ(22u, digits.size());
    for (const std::string& d : digits) {
        SCOPED_TRACE(d);
        EXPECT_TRUE(IsYearTime((d + d).c_str(), 0));
    }
    for (const char* d : {"\xCA\xAE", "\xC1\xBD", "\xCA\xB0", "\xA3\xB1"}) {  // 十 两 拾 １
        SCOPED_TRACE(d);
        EXPECT_FALSE(IsYearTime((std::string(d) + d).c_str(), 0));
    }
}

TEST(ChineseNumber, IsDayTimeRules) {
    // clang-format off
    const struct { std::string word; bool expected; } cases[] = {
        {"1", true}, {"12", true}, {"31", true}, {"", true},
        {"\xC8\xFD", true},                  // 三
        {"\xCA\xAE\xCE\xE5", true},          // 十五
        {"\xB6\xFE\xCA\xAE\xC8\xFD", true},  // 二十三
        {"\xA3\xB3\xA3\xB1", true},          // ３１
        {"123", false}, {"1a", false},
        {"\xB6\xFE\xCA\xAE\xC8\xFD\xC8\xD5", false},  // 二十三日
        {"\xB6\xFE\xCA\xAE\xC8\xFD\xCB\xC4", false},  // 二十三四: four characters
        {"\xC1\xBD", false},                          // 两
        {"a", false}, {"+", false}, {"%", false},     // one byte that is no digit
        {"5\xCA\xAE", false},                         // 5十
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(c.expected, IsDayTime(c.word.c_str(), 0));
    }
    EXPECT_TRUE(IsDayTime("12x", 2));
}

TEST(ChineseNumber, EveryDayDigitMakesADay) {
    // clang-format off
    const std::string dayDigits =
        "\xC1\xE3\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4\xCE\xE5\xC1\xF9\xC6\xDF"  // 零一二三四五六七
        "\xB0\xCB\xBE\xC5\xCA\xAE\xD2\xBC\xB7\xA1\xC8\xFE\xCB\xC1\xCE\xE9"  // 八九十壹贰叁肆伍
        "\xC2\xBD\xC6\xE2\xB0\xC6\xBE\xC1\xA3\xB0\xA3\xB1\xA3\xB2\xA3\xB3"  // 陆柒捌玖０１２３
        "\xA3\xB4\xA3\xB5\xA3\xB6\xA3\xB7\xA3\xB8\xA3\xB9";                 // ４５６７８９
    // clang-format on
    std::vector<std::string> digits = Characters(dayDigits);
    EXPECT_EQ(30u, digits.size());
    for (const std::string& d : digits) {
        SCOPED_TRACE(d);
        EXPECT_TRUE(IsDayTime(d.c_str(), 0));
    }
    for (const char* d : {"\xA1\xF0", "\xA9\x96", "\xCA\xB0"}) {  // ○ 〇 拾
        SCOPED_TRACE(d);
        EXPECT_FALSE(IsDayTime(d, 0));
    }
}

}  // namespace
