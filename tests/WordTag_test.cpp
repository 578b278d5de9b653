#include "WordTag.h"

#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"

namespace {

using testfiles::InTempDir;
using testfiles::WriteAll;

TEST(TrimWord, TrimsSingleAndDoubleByteSpacesFromBothEnds) {
    struct Case {
        std::string word;
        std::string expected;
    } cases[] = {
        {"  \xD6\xD0\xB9\xFA\xA1\xA1", "\xD6\xD0\xB9\xFA"},  // '  中国　' -> '中国'
        {"\t\r\n", ""},
        {"\xA1\xA1"
         "a\xA1\xA1",
         "a"},                         // '　a　'
        {" \xA3\xA0x \xA3\xA0", "x"},  // mixed single and two-byte
        {"\xA1\xA1 \xA3\xA0\t\xA1\xA1"
         "b",
         "b"},                             // alternating at the front
        {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},  // '啊　' -> '啊'
        {"a", "a"},
        {"a b", "a b"},  // inside stays
        {"\xA1\xA1\xA1\xA1", ""},
        {"\xA1", "\xA1"},                                   // half a space is no space
        {std::string("a\0b ", 4), std::string("a\0b", 3)},  // the whole string is kept
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        tstring word = c.word;
        EXPECT_TRUE(gfn_bTrimWord(word));
        EXPECT_EQ(word, c.expected);
    }
    tstring empty;
    EXPECT_FALSE(gfn_bTrimWord(empty));
    EXPECT_EQ(empty, "");
}

TEST(GetWordPos, SplitsAtTheFirstDelimiterAndTrims) {
    struct Case {
        std::string entry;
        std::string delimiter;
        bool result;
        std::string word;
        std::string pos;
    } cases[] = {
        {"\xD6\xD0\xB9\xFA/ns", "/", true, "\xD6\xD0\xB9\xFA", "ns"},      // 中国/ns
        {" \xD6\xD0\xB9\xFA / ns ", "/", true, "\xD6\xD0\xB9\xFA", "ns"},  // ' 中国 / ns '
        {"\xD6\xD0\xB9\xFA", "/", true, "\xD6\xD0\xB9\xFA", ""},           // no delimiter
        {" \xD6\xD0\xB9\xFA ", "/", true, " \xD6\xD0\xB9\xFA ", ""},       // untrimmed
        {"/ns", "/", false, "", "ns"},
        {"a//b", "/", true, "a", "/b"},
        {"a::n", "::", true, "a", "n"},
        {"", "/", false, "", ""},
        {" \xD6\xD0\xB9\xFA ", "", true, " \xD6\xD0\xB9\xFA ", ""},  // empty delimiter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        tstring word = "stale", pos = "stale";
        EXPECT_EQ(gfn_bGetWordPos(c.entry, word, pos, c.delimiter), c.result);
        EXPECT_EQ(word, c.word);
        EXPECT_EQ(pos, c.pos);
    }
    tstring entry = "w/t";
    tstring pos;
    EXPECT_TRUE(gfn_bGetWordPos(entry, entry, pos, "/"));
    EXPECT_EQ(entry, "w");
    EXPECT_EQ(pos, "t");
    tstring word;
    entry = "whole";
    EXPECT_TRUE(gfn_bGetWordPos(entry, word, entry, "/"));
    EXPECT_EQ(word, "whole");
    EXPECT_EQ(entry, "");
}

TEST(Delimiter2DictFormat, MapsPunctuationToFullWidth) {
    struct Case {
        char byte;
        const char* expected;
        bool mapped;
    } cases[] = {
        {'.', "\xA1\xA3", true},  // 。
        {',', "\xA3\xAC", true},  // ，
        {';', "\xA3\xBB", true},  // ；
        {':', "\xA3\xBA", true},  // ：
        {'?', "\xA3\xBF", true},  // ？
        {'!', "\xA3\xA1", true},  // ！
        {'%', "\xA3\xA5", true},  // ％
        {'(', "\xA3\xA8", true},  // （
        {')', "\xA3\xA9", true},  // ）
        {'{', "\xA3\xFB", true},  // ｛
        {'+', "\xA3\xAB", true},  // ＋
        {'}', "\xA3\xFD", true},  // ｝
        {'[', "\xA3\xDB", true},  // ［
        {']', "\xA3\xDD", true},  // ］
        {'/', "\xA3\xAF", true},  // ／
        {'=', "\xA3\xBD", true},  // ＝
        {'a', "a", false},       {'-', "-", false}, {'"', "\"", false}, {'\0', "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.byte));
        char out[3] = {'#', '#', '#'};
        EXPECT_EQ(Delimiter2DictFormat(c.byte, out), c.mapped);
        EXPECT_STREQ(out, c.expected);
    }
    EXPECT_FALSE(Delimiter2DictFormat('.', nullptr));
}

TEST(IsEnglishText, SamplesTenBytes) {
    struct Case {
        const char* text;
        bool english;
    } cases[] = {
        {"Hello world", true},
        {"12345", true},
        {"a", true},
        {"abcde!!!!!", true},
        {"abcd!!!!!!", false},  // four valid samples
        {"   ...   ", false},
        {"\xD6\xD0\xCE\xC4"
         "abc",
         false},                         // '中文abc'
        {"abc\xD6\xD0\xCE\xC4", false},  // 'abc中文': a sample hits 中
        {"\xA1\xA1"
         "abc",
         true},  // '　abc': A1 is allowed
        {"\xB1"
         "abcdefghi",
         true},  // so is B1
        {"", false},
        {nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        EXPECT_EQ(IsEnglishText(c.text), c.english);
    }
}

class EnglishFile : public InTempDir {};

TEST_F(EnglishFile, IsEnglishTextReadsTheWholeFile) {
    WriteAll("en.txt", "This is an English text.\n");
    WriteAll("zh.txt", "\xD6\xD0\xCE\xC4\xA1\xA3");  // 中文。
    WriteAll("empty.txt", "");
    WriteAll("nul.txt", std::string("\0abc", 4));
    EXPECT_TRUE(IsEnglishTextFile("en.txt"));
    EXPECT_FALSE(IsEnglishTextFile("zh.txt"));
    EXPECT_FALSE(IsEnglishTextFile("empty.txt"));
    EXPECT_FALSE(IsEnglishTextFile("nul.txt"));
    EXPECT_FALSE(IsEnglishTextFile("missing.txt"));
    EXPECT_EQ(testfiles::DayEntries(Dir(), ".log"),
              (std::vector<std::string>{"Failed open file  missing.txt"}));
}

}  // namespace
