#include "Token.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

// Every token CStrToken gives for text, checking that the text is whole again
// once it has returned null.
Pieces AllTokens(bool bEnglish, const std::string& text, const char* sDelimiter) {
    std::string work = text;
    CStrToken tokenizer(bEnglish);
    Pieces tokens;
    for (char* p = tokenizer.GetToken(&work[0], nullptr, sDelimiter); p;
         p = tokenizer.GetToken(nullptr, nullptr, sDelimiter))
        tokens.emplace_back(p);
    EXPECT_EQ(work, text) << "the text is not restored";
    EXPECT_EQ(tokenizer.GetToken(nullptr, nullptr, sDelimiter), nullptr);
    return tokens;
}

TEST(StrToken, CutsTokensAndReportsWhereTheRestBegins) {
    struct Case {
        const char* text;
        const char* separators;
        Pieces tokens;
    } cases[] = {
        {"a,,b,", ",", {"a", "b", ""}}, {",,", ",", {""}}, {"ab", ",", {"ab"}}, {"", ",", {""}},
        {" a b", " ", {"a", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string work = c.text;
        Pieces tokens;
        char* pNext = &work[0];
        while (pNext) {
            char* pLine = pNext;
            tokens.emplace_back(StrToken(pLine, c.separators, &pNext));
        }
        EXPECT_EQ(tokens, c.tokens);
    }
    char* pUntouched = reinterpret_cast<char*>(1);
    EXPECT_EQ(StrToken(nullptr, ",", &pUntouched), nullptr);
    EXPECT_EQ(pUntouched, reinterpret_cast<char*>(1));
}

TEST(CStrToken, GivesWordsAndDelimitersAndRestoresTheText) {
    struct Case {
        bool english;
        const char* text;
        const char* delimiters;
        Pieces tokens;
    } cases[] = {
        {true, "3.14 is pi.", " .", {"3.14", "is", "pi", "."}},
        {false, "3.14 is pi.", " .", {"3", ".", "14", "is", "pi", "."}},
        {true, "U.S.A. now", " .", {"U.S.A", ".", "now"}},
        {true, "1,000 a,b", " ,", {"1,000", "a", ",", "b"}},
        {true, "1,999 9,9", " ,", {"1,999", "9,9"}},
        {true,
         "x,(y) z,\"q\" w,\xB0\xA1",
         " ,",  // w,啊
         {"x", ",", "(y)", "z", ",", "\"q\"", "w", ",", "\xB0\xA1"}},
        // A token may start with a kept '.' or ','.
        {true, "1,,2 .5", ", .", {"1", ",", ",2", ".5"}},
        {false, "a,b", ",", {"a", ",", "b"}},
        {false, ",a,", ",", {",", "a", ","}},
        {false, " \t\ra, \r", ",", {"a", ","}},
        {false, "a b", ",", {"a b"}},
        {false, "a\nb", "\n", {"a", "\n", "b"}},
        // 你好，世界。 with the full-width comma and full stop as delimiters
        {false,
         "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7\xA1\xA3",
         "\xA3\xAC\xA1\xA3",
         {"\xC4\xE3\xBA\xC3", "\xA3\xAC", "\xCA\xC0\xBD\xE7", "\xA1\xA3"}},
        // A3 without a punctuation byte after it is a one-byte delimiter: A3 41.
        {false,
         "x\xA3"
         "A",
         "\xA3",
         {"x", "\xA3", "A"}},
        {false, "", ",", {}},
        {false, " \t\r", ",", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(AllTokens(c.english, c.text, c.delimiters), c.tokens);
    }
}

TEST(CStrToken, KeepsToItsRangeAndNeedsAText) {
    CStrToken fresh(false);
    EXPECT_EQ(fresh.GetToken(nullptr, nullptr, ","), nullptr);

    // The range ends at a NUL the caller placed: "a,b" of "a,b,c".
    char text[] = "a,b,c";
    text[3] = 0;
    CStrToken tokenizer(false);
    Pieces tokens;
    for (char* p = tokenizer.GetToken(text, text + 3, ","); p;
         p = tokenizer.GetToken(nullptr, nullptr, ","))
        tokens.emplace_back(p);
    EXPECT_EQ(tokens, (Pieces{"a", ",", "b"}));
    EXPECT_EQ(std::string(text, 5), std::string("a,b\0c", 5));
}

TEST(CStrToken, DelimitersMayChangeFromCallToCall) {
    char text[] = "a,b;c";
    CStrToken tokenizer(false);
    EXPECT_STREQ(tokenizer.GetToken(text, nullptr, ","), "a");
    EXPECT_STREQ(tokenizer.GetToken(nullptr, nullptr, ","), ",");
    EXPECT_STREQ(tokenizer.GetToken(nullptr, nullptr, ";"), "b");
    EXPECT_STREQ(tokenizer.GetToken(nullptr, nullptr, ""), ";c");
    EXPECT_EQ(tokenizer.GetToken(nullptr, nullptr, ""), nullptr);
    EXPECT_STREQ(text, "a,b;c");
}

TEST(GetStrVector, CollectsTokensWithoutLineBreaks) {
    struct Case {
        const char* text;
        const char* delimiters;
        Pieces tokens;
    } cases[] = {
        {"a,b", ",", {"a", ",", "b"}},
        {"a,", ",", {"a", ","}},
        {",a", ",", {",", "a"}},
        {"  a  b ", " ", {"a", "b"}},
        {"a\nb\r\nc", "\n", {"a", "b", "c"}},
        {"a\tb c\r\n", "\t ", {"a", "b", "c"}},
        // 你好，世界
        {"\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7",
         "\xA3\xAC",
         {"\xC4\xE3\xBA\xC3", "\xA3\xAC", "\xCA\xC0\xBD\xE7"}},
        {"", ",", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<tstring> result{"stale"};
        EXPECT_EQ(GetStrVector(c.text, c.delimiters, result), c.tokens.size());
        EXPECT_EQ(result, c.tokens);
    }
}

TEST(Split, ByWholeDelimiterAndByAnyByte) {
    struct Case {
        bool any_byte;
        const char* text;
        const char* delimiter;
        bool result;
        Pieces pieces;
    } cases[] = {
        {false, "a::b::::c", "::", true, {"a", "b", "c"}},
        {false, "a:::b", "::", true, {"a", ":b"}},
        {false, "::", "::", true, {}},
        {false, "abc", "", true, {"abc"}},
        {false, "abc", nullptr, true, {"abc"}},
        {false, "abc", ",", true, {"abc"}},
        {false, "", ",", false, {}},
        {false, nullptr, ",", false, {}},
        {true, "a, b;;c", ", ;", true, {"a", "b", "c"}},
        {true, ";a;", ";", true, {"a"}},
        {true, "abc", "", true, {"abc"}},
        {true, ";;", ";", true, {}},
        {true, "", ";", false, {}},
        {true, nullptr, ";", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        std::vector<tstring> result{"stale"};
        bool ok = c.any_byte ? gfn_bSplitOR(c.text, result, c.delimiter)
                             : gfn_bSplit(c.text, result, c.delimiter);
        EXPECT_EQ(ok, c.result);
        EXPECT_EQ(result, c.pieces);
    }
}

TEST(Split, AnyByteSplitsTheWholeOfALongText) {
    // Pieces on both sides of byte 10000, the last one beyond it.
    std::string text = std::string(9998, 'a') + ";" + std::string(5, 'b') + ";" + "tail";
    std::vector<tstring> result;
    ASSERT_TRUE(gfn_bSplitOR(text.c_str(), result, ";"));
    EXPECT_EQ(result, (Pieces{std::string(9998, 'a'), "bbbbb", "tail"}));
}

TEST(StringEditing, TrimDeleteReplace) {
    struct TrimCase {
        const char* text;
        char ch;
        const char* expected;
    } trims[] = {{"xxaxx", 'x', "a"},
                 {"xxx", 'x', ""},
                 {"a", ' ', "a"},
                 {"", ' ', ""},
                 {" a b ", ' ', "a b"}};
    for (const TrimCase& c : trims) {
        SCOPED_TRACE(c.text);
        tstring s = c.text;
        trim(s, c.ch);
        EXPECT_EQ(s, c.expected);
    }

    char text[] = "a-b-c";
    EXPECT_EQ(deleteChar(text, 5, '-'), 3u);
    EXPECT_EQ(std::string(text, 5), std::string("abc\0\0", 5));
    char partial[] = "-a-b";
    EXPECT_EQ(deleteChar(partial, 2, '-'), 1u);
    EXPECT_EQ(std::string(partial, 4), std::string("a\0-b", 4));
    EXPECT_EQ(deleteChar(nullptr, 3, '-'), 0u);
    EXPECT_EQ(deleteChar(text, 0, '-'), 0u);

    EXPECT_EQ(replaceChar("a b", ' ', "--"), "a--b");
    EXPECT_EQ(replaceChar("a b ", ' ', ""), "ab");
    EXPECT_EQ(replaceChar("", ' ', "x"), "");
}

TEST(StringEditing, ReplaceSubstringNeverSearchesInsertedText) {
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        const char* expected;
    } cases[] = {
        {"aaa", "a", "aa", "aaaaaa"}, {"abcabc", "bc", "", "aa"},   {"abab", "ab", "b", "bb"},
        {"abc", "", "x", "abc"},      {"abc", nullptr, "x", "abc"}, {"", "a", "b", ""},
        {"abc", "x", "y", "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        tstring s = c.text;
        gfn_vReplaceSubstr(s, c.from, c.to);
        EXPECT_EQ(s, c.expected);
    }
}

}  // namespace
