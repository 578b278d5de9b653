#include "Sentences.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "CharReader.h"
#include "Scanner.h"
#include "SplitCases.h"

// Array allocations go through malloc here so that one can be made to fail.
static bool g_bFailNextArrayNew = false;

void* operator new[](size_t nSize, const std::nothrow_t&) noexcept {
    if (g_bFailNextArrayNew) {
        g_bFailNextArrayNew = false;
        return nullptr;
    }
    return malloc(nSize ? nSize : 1);
}
void* operator new[](size_t nSize) {
    if (void* p = operator new[](nSize, std::nothrow)) return p;
    throw std::bad_alloc();
}
void operator delete[](void* p) noexcept { free(p); }
void operator delete[](void* p, size_t) noexcept { free(p); }

namespace {

using Sentences = std::vector<std::string>;

// Pulls every sentence of sText; stops at the empty string.
Sentences SplitAll(CSentences& splitter, const char* sText, int nEncode) {
    Sentences vs;
    for (const char* s = splitter.GetSentence(sText, nEncode); *s;
         s = splitter.GetSentence(nullptr, nEncode))
        vs.push_back(s);
    return vs;
}

Sentences Expected(const SplitCase& c) {
    Sentences vs;
    for (const char* const* p = c.vsSentences; *p; ++p) vs.push_back(*p);
    return vs;
}

// The splitting rules read literally, one character at a time through the
// character readers, measuring the rest of the text on every sentence.
Sentences ReferenceSplit(const std::string& sText, int nEncode) {
    static const char kGbkMarks[] = "\xA1\xA3\xA3\xA1\xA3\xBF";  // 。！？
    static const char* const kUtf8Marks[] = {"\xE3\x80\x82", "\xEF\xBC\x81", "\xEF\xBC\x9F"};
    Sentences vs;
    const char* p = sText.c_str();
    for (;;) {
        size_t n = strlen(p), i = 0;
        while (i < n && strchr(" \r\n\t", p[i])) ++i;
        size_t nStart = i;
        bool bEnglish = true, bEnd = false;
        char sChar[10];
        while (i < n && !bEnd) {
            size_t nLen;
            if (nEncode == 1) {
                nLen = GetUTF8Char(p + i, sChar);
                for (const char* sMark : kUtf8Marks)
                    if (nLen == 3 && memcmp(sChar, sMark, 3) == 0) bEnd = true;
            } else {
                nLen = Getchar(p + i, sChar);
                bEnd = CC_Find(kGbkMarks, sChar) != nullptr;
            }
            if (nLen > 1) bEnglish = false;
            if (!bEnd && nLen == 1) {
                char c = p[i];
                bEnd = c == '?' || c == '!' || c == '\r' || c == '\n' ||
                       (c == '.' && bEnglish && (p[i + 1] == ' ' || p[i + 1] == 0));
            }
            i += nLen;
        }
        if (!bEnd) {
            if (p[nStart]) vs.push_back(p + nStart);
            return vs;
        }
        vs.emplace_back(p + nStart, i - nStart);
        p += i;
    }
}

TEST(SentencesTest, SplitsTheSharedCases) {
    CSentences splitter;
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE(c.sName);
        EXPECT_EQ(SplitAll(splitter, c.sText, c.nEncode), Expected(c));
        EXPECT_EQ(ReferenceSplit(c.sText, c.nEncode), Expected(c));
    }
}

// Random texts weighted towards the bytes that matter: marks and their
// pieces, high bytes, CR/LF, '.', blanks and truncated sequences.
TEST(SentencesTest, AgreesWithTheLiteralRulesOnRandomTexts) {
    static const char* const kPieces[] = {"\xA1\xA3",
                                          "\xA3\xA1",
                                          "\xA3\xBF",
                                          "\xA3",
                                          "\xA1",
                                          "\xBF",
                                          "\xE3\x80\x82",
                                          "\xEF\xBC\x81",
                                          "\xEF\xBC\x9F",
                                          "\xE3",
                                          "\xEF\xBC",
                                          "\x80",
                                          "\xC4\xE3",
                                          "\xF0",
                                          "\xFC",
                                          ".",
                                          ". ",
                                          "?",
                                          "!",
                                          "\r",
                                          "\n",
                                          " ",
                                          "\t",
                                          "a",
                                          "Z",
                                          "3",
                                          ";",
                                          "\xD6\xD0"};
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<size_t> pick(0, std::size(kPieces) - 1);
    std::uniform_int_distribution<int> length(0, 24), highByte(0x80, 0xFF);
    CSentences splitter;
    for (int nRound = 0; nRound < 20000; ++nRound) {
        std::string sText;
        for (int k = length(rng); k > 0; --k) {
            if (k % 7 == 0)
                sText += static_cast<char>(highByte(rng));
            else
                sText += kPieces[pick(rng)];
        }
        int nEncode = nRound % 2;
        SCOPED_TRACE(testing::PrintToString(sText) + (nEncode ? " utf8" : " gbk"));
        ASSERT_EQ(SplitAll(splitter, sText.c_str(), nEncode), ReferenceSplit(sText, nEncode));
    }
}

TEST(SentencesTest, NewTextDropsTheRestOfTheOldOne) {
    CSentences splitter;
    EXPECT_STREQ(splitter.GetSentence("One. Two. Three.", kGbk), "One.");
    EXPECT_STREQ(splitter.GetSentence("Four! Five!", kGbk), "Four!");
    EXPECT_STREQ(splitter.GetSentence(nullptr, kGbk), "Five!");
    EXPECT_STREQ(splitter.GetSentence(nullptr, kGbk), "");
}

TEST(SentencesTest, StaysEmptyOnceExhausted) {
    CSentences splitter;
    EXPECT_STREQ(splitter.GetSentence(nullptr, kGbk), "") << "no text given yet";
    EXPECT_STREQ(splitter.GetSentence("Hi.", kUtf8), "Hi.");
    for (int i = 0; i < 3; ++i) EXPECT_STREQ(splitter.GetSentence(nullptr, kUtf8), "");
    EXPECT_STREQ(splitter.GetSentence("Last", kUtf8), "Last");
    for (int i = 0; i < 3; ++i) EXPECT_STREQ(splitter.GetSentence(nullptr, kUtf8), "");
}

TEST(SentencesTest, EncodingIsTakenWithTheText) {
    // 你好。再见。 in UTF-8, read on with calls that name GBK.
    const char* sText = "\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\xE5\x86\x8D\xE8\xA7\x81\xE3\x80\x82x";
    CSentences splitter;
    EXPECT_STREQ(splitter.GetSentence(sText, kUtf8), "\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82");
    EXPECT_STREQ(splitter.GetSentence(nullptr, kGbk), "\xE5\x86\x8D\xE8\xA7\x81\xE3\x80\x82");
    EXPECT_STREQ(splitter.GetSentence(nullptr, kGbk), "x");
}

TEST(SentencesTest, WorksOnItsOwnCopy) {
    char sText[] = "Keep me. Intact.";
    CSentences splitter;
    const char* sFirst = splitter.GetSentence(sText, kGbk);
    EXPECT_STREQ(sText, "Keep me. Intact.");
    EXPECT_TRUE(sFirst < sText || sFirst >= sText + sizeof sText);
    memset(sText, 'x', sizeof sText - 1);
    EXPECT_STREQ(splitter.GetSentence(nullptr, kGbk), "Intact.");
}

TEST(SentencesTest, TakesASentenceOfItsOwnAsTheNextText) {
    CSentences splitter;
    const char* s = splitter.GetSentence("One. Two three.", kGbk);
    s = splitter.GetSentence(nullptr, kGbk);
    EXPECT_STREQ(splitter.GetSentence(s, kGbk), "Two three.");
    EXPECT_STREQ(splitter.GetSentence(nullptr, kGbk), "");
}

TEST(SentencesTest, FailedCopyGivesTheEmptyString) {
    CSentences splitter;
    EXPECT_STREQ(splitter.GetSentence("Old. Text.", kGbk), "Old.");
    g_bFailNextArrayNew = true;
    EXPECT_STREQ(splitter.GetSentence("New and longer. Text.", kGbk), "");
    EXPECT_FALSE(g_bFailNextArrayNew) << "the copy was attempted";
    EXPECT_STREQ(splitter.GetSentence(nullptr, kGbk), "") << "the old text is gone too";
    EXPECT_STREQ(splitter.GetSentence("Next. Text.", kGbk), "Next.");
}

TEST(SentencesTest, ScanReportsTheEndOfTheFirstSentence) {
    struct {
        const char* sText;
        int nEncode;
        size_t nExpected;
    } const kCases[] = {
        {"ab? c", kGbk, 3},
        {"abc", kGbk, varnel::kNoSentenceEnd},
        {"ab\xA1", kGbk, 3},  // a lone A1 is found in the mark table
        {"ab\xB0", kGbk, varnel::kNoSentenceEnd},
        {"\xE3\x80\x82"
         "x",
         kUtf8, 3},
        {"\xE3\x80", kUtf8, varnel::kNoSentenceEnd},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.sText);
        EXPECT_EQ(varnel::ScanSentenceEnd(c.sText, strlen(c.sText), c.nEncode), c.nExpected);
    }
}

}  // namespace
