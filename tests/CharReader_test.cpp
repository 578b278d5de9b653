#include "CharReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "TestFiles.h"

namespace {

TEST(CharReaderTest, GetcharReadsOneGbkCharacter) {
    struct {
        const char* sBuffer;
        size_t nLen;
        const char* sChar;
        int nCode;
    } const kCases[] = {
        {"", 0, "", -1},
        {"ab", 1, "a", 'a'},
        {"\xB0\xA1x", 2, "\xB0\xA1", 0xB0A1},  // 啊
        {"\x81?", 2, "\x81?", 0x813F},         // '?' as a second byte
        {"\xB0", 1, "\xB0", -80},              // a lead byte last: a character of its own
        {"\xFF", 1, "\xFF", -1},
        {"\x80", 1, "\x80", -128},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.sBuffer));
        char sChar[3] = {'x', 'x', 'x'};
        EXPECT_EQ(Getchar(c.sBuffer, sChar), c.nLen);
        EXPECT_STREQ(sChar, c.sChar);
        int nCode = 12345;
        EXPECT_EQ(Getchar(c.sBuffer, &nCode), c.nLen);
        EXPECT_EQ(nCode, c.nCode);
    }
    char sChar[3] = {'x', 'x', 'x'};
    Getchar("", sChar);
    EXPECT_EQ(sChar[1], 0) << "the end leaves two NUL bytes";
}

TEST(CharReaderTest, GetUTF8CharTakesWhatTheLeadByteAnnounces) {
    struct {
        const char* sBuffer;
        size_t nLen;
    } const kCases[] = {
        {"", 0},
        {"a", 1},
        {"\x80", 1},  // a stray continuation byte
        {"\xBF\xBF", 1},
        {"\xC3\xA9!", 2},  // é
        {"\xE3\x80\x82"
         "a",
         3},              // 。
        {"\xE3\x80", 2},  // cut short by the end
        {"\xE3"
         "AB more",
         3},  // taken unchecked
        {"\xF0\x9F\x98\x80"
         "x",
         4},
        {"\xF8"
         "abcdef",
         5},
        {"\xFC"
         "abcdefg",
         6},
        {"\xFF"
         "ab",
         3},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.sBuffer));
        char sChar[7];
        EXPECT_EQ(GetUTF8Char(c.sBuffer, sChar), c.nLen);
        EXPECT_EQ(std::string(sChar), std::string(c.sBuffer, c.nLen));
    }
}

TEST(CharReaderTest, CCFindAcceptsOnlyHitsAtEvenOffsets) {
    const char* sMarks = "\xA1\xA3\xA3\xA1\xA3\xBF";  // 。！？
    struct {
        const char* sChar;
        int nOffset;  // -1: not found
    } const kCases[] = {
        {"\xA1\xA3", 0}, {"\xA3\xA1", 2},
        {"\xA3\xBF", 4}, {"\xA3\xA3", -1},  // across "。" and "！"
        {"\xA1", 0},                        // a single byte is searched the same way
        {"\xA3", -1},    {"\xBF", -1},
        {"?", -1},       {"", -1},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.sChar));
        const char* pHit = CC_Find(sMarks, c.sChar);
        EXPECT_EQ(pHit ? pHit - sMarks : -1, c.nOffset);
    }
    // The search stops at the first occurrence, even if a later one is aligned.
    EXPECT_EQ(CC_Find("\xB0\xA1\xB0\xC4\xA1\xB0", "\xA1\xB0"), nullptr);
}

TEST(CharReaderTest, GetCharCodeFoldsCapitalsAndPairsBytes) {
    struct {
        const char* sLine;
        tuint i;
        tuint nCode;
        tuint nNext;
    } const kCases[] = {
        {"Q", 0, 'q', 1},
        {"aZ", 1, 'z', 2},
        {"q", 0, 'q', 1},
        {"\xB0\xA1", 0, 0xB0A1, 2},
        {"x\xB0", 1, 0xB0, 2},  // a lead byte last in the line gives
                                // its own value
        {"@", 0, '@', 1},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.sLine));
        tuint i = c.i;
        EXPECT_EQ(GetCharCode(c.sLine, i, static_cast<tuint>(strlen(c.sLine))), c.nCode);
        EXPECT_EQ(i, c.nNext);
    }
}

TEST(CharReaderTest, GetCCPrefixNeverPassesTheEnd) {
    struct {
        const char* sSentence;
        size_t nPrefix;
    } const kCases[] = {
        {"\xC4\xE3\xBA\xC3"
         "abc",
         4},  // 你好abc
        {"abc", 0},
        {"", 0},
        {"\xA1\xA3\xC4\xE3", 0},  // a punctuation row first
        {"\xC4\xE3\xB0", 2},      // a lone lead byte at the end is no character
        {"\xF7\xFE\xF8\xA1", 2},  // F8 is past the Chinese rows
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.sSentence));
        std::string s = c.sSentence;
        EXPECT_EQ(GetCCPrefix(reinterpret_cast<unsigned char*>(&s[0])), c.nPrefix);
    }
}

TEST(CharReaderTest, SgetsReadsLineByLine) {
    const char* sText = "first\r\nsecond\n\n\r\nthird\r\n";
    char sLine[32];
    const char* p = sgets(sText, sLine);
    EXPECT_STREQ(sLine, "first");
    ASSERT_EQ(p, sText + 7);
    p = sgets(p, sLine);
    EXPECT_STREQ(sLine, "second");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(sgets(p, sLine), nullptr);
    EXPECT_STREQ(sLine, "third");

    strcpy(sLine, "old");
    EXPECT_EQ(sgets(nullptr, sLine), nullptr);
    EXPECT_STREQ(sLine, "");
    EXPECT_EQ(sgets("", sLine), nullptr);
}

TEST(CharReaderTest, CountCharUsesWidenedSignedBytes) {
    const char* sText =
        "\xB0\xA1\xB0\xA1"
        "a";  // 啊啊a
    EXPECT_EQ(countChar(sText, 5, 0xFFFFAFA1u), 2u);
    EXPECT_EQ(countChar(sText, 5, 0xB0A1u), 0u);
    EXPECT_EQ(countChar(sText, 5, 'a'), 1u);
    EXPECT_EQ(countChar(sText, 3, 0xFFFFAFA1u), 1u) << "only the first nLen bytes count";
    EXPECT_EQ(countChar(sText, 3, 0xFFFFFFB0u), 1u) << "a lead byte cut off by nLen stands alone";
}

class CodeTableTest : public testing::Test {
  protected:
    static std::vector<std::string> Lines(const std::string& sName) {
        std::ifstream in(sName, std::ios::binary);
        std::vector<std::string> vs;
        for (std::string s; std::getline(in, s);) vs.push_back(s);
        return vs;
    }

    testfiles::TempDir m_dir;
    const std::string& m_sDir = m_dir.path();
};

TEST_F(CodeTableTest, WritesEveryCodeOfItsRows) {
    std::string sChinese = m_sDir + "/cc.txt", sAll = m_sDir + "/gb2312.txt";
    ASSERT_TRUE(CC_Generate(sChinese.c_str()));
    ASSERT_TRUE(GB2312_Generate(&sAll[0]));
    std::vector<std::string> vsChinese = Lines(sChinese), vsAll = Lines(sAll);
    ASSERT_EQ(vsChinese.size(), 7426u);
    EXPECT_EQ(vsChinese.front(), "\xB0\xA1,176,161");
    EXPECT_EQ(vsChinese.back(), "\xFE\xFE,254,254");
    ASSERT_EQ(vsAll.size(), 8836u);
    EXPECT_EQ(vsAll.front(), "\xA1\xA1,161,161");
    EXPECT_EQ(vsAll[94], "\xA2\xA1,162,161");
}

TEST_F(CodeTableTest, ReportsFilesItCannotWrite) {
    EXPECT_FALSE(CC_Generate((m_sDir + "/missing/cc.txt").c_str()));
    char sFull[] = "/dev/full";
    EXPECT_FALSE(GB2312_Generate(sFull)) << "a full disk is no success";
}

}  // namespace
