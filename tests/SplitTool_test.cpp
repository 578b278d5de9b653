// varnel-split run as a user runs it.
#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "Commands.h"

namespace {

struct Result {
    int nStatus;
    std::string sOut, sErr;
};

std::string GbkToUtf8(const std::string& sGbk) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    std::string sOut(sGbk.size() * 2 + 16, '\0');
    char* pIn = const_cast<char*>(sGbk.data());
    char* pOut = &sOut[0];
    size_t nIn = sGbk.size(), nOut = sOut.size();
    size_t nDone = iconv(cd, &pIn, &nIn, &pOut, &nOut);
    iconv_close(cd);
    EXPECT_NE(nDone, static_cast<size_t>(-1)) << "the GBK output must convert";
    sOut.resize(sOut.size() - nOut);
    return sOut;
}

class SplitToolTest : public testing::Test {
  protected:
    std::string WriteInput(const std::string& sName, const std::string& sText) {
        std::string sPath = m_sDir + "/" + sName;
        std::ofstream(sPath, std::ios::binary) << sText;
        return sPath;
    }

    // Runs varnel-split with sArgs (a shell fragment) and the given standard input.
    Result Run(const std::string& sArgs, const std::string& sInput = "",
               const std::string& sOutTo = "") {
        std::string sIn = WriteInput("stdin", sInput);
        std::string sOut = sOutTo.empty() ? m_sDir + "/stdout" : sOutTo;
        std::string sCommand = std::string("'") + VARNEL_SPLIT_PATH + "' " + sArgs + " <'" + sIn +
                               "' >'" + sOut + "' 2>'" + m_sDir + "/stderr'";
        int nRaw = system(sCommand.c_str());
        Result r{WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1, "", ReadWholeFile(m_sDir + "/stderr")};
        if (sOutTo.empty()) r.sOut = ReadWholeFile(sOut);
        return r;
    }

    TempDir m_dir;
    const std::string& m_sDir = m_dir.path();
};

const std::string kSamples = std::string(VARNEL_SOURCE_DIR) + "/samples/";

TEST_F(SplitToolTest, GbkAndUtf8SamplesGiveTheSameSentences) {
    Result utf8 = Run("'" + kSamples + "zh-utf8.txt'");
    Result gbk = Run("-e gbk '" + kSamples + "zh-gbk.txt'");
    ASSERT_EQ(utf8.nStatus, 0) << utf8.sErr;
    ASSERT_EQ(gbk.nStatus, 0) << gbk.sErr;
    EXPECT_EQ(GbkToUtf8(gbk.sOut), utf8.sOut);
    // The output opens with 清晨六点半，城市还没有完全醒来。 on a line of its own.
    EXPECT_EQ(utf8.sOut.rfind(
                  "\xE6\xB8\x85\xE6\x99\xA8\xE5\x85\xAD\xE7\x82\xB9\xE5\x8D\x8A\xEF\xBC\x8C\xE5\x9F"
                  "\x8E\xE5\xB8\x82\xE8\xBF\x98\xE6\xB2\xA1\xE6\x9C\x89\xE5\xAE\x8C\xE5\x85\xA8\xE9"
                  "\x86\x92\xE6\x9D\xA5\xE3\x80\x82\n",
                  0),
              0u);
}

TEST_F(SplitToolTest, EnglishSampleKeepsNumbersAndCutsAbbreviations) {
    Result r = Run("'" + kSamples + "en.txt'");
    ASSERT_EQ(r.nStatus, 0) << r.sErr;
    EXPECT_EQ(r.sOut.rfind("The morning train was late again.\n", 0), 0u);
    EXPECT_NE(r.sOut.find("for 2.50 a cup"), std::string::npos);
    EXPECT_NE(r.sOut.find("\nDr.\nEllis, who had"), std::string::npos);
    EXPECT_NE(r.sOut.find("\nProbably not.\n"), std::string::npos);
}

TEST_F(SplitToolTest, PrintsOneSentencePerLine) {
    struct {
        const char* sName;
        std::string sInput;
        std::string sExpected;
    } const kCases[] = {
        {"line breaks are not doubled", "One\r\nTwo\nThree", "One\nTwo\nThree\n"},
        {"a NUL starts a new text", std::string("A. B\0C. D", 9), "A.\nB\nC.\nD\n"},
        {"empty input", "", ""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.sName);
        Result r = Run("", c.sInput);
        EXPECT_EQ(r.nStatus, 0);
        EXPECT_EQ(r.sOut, c.sExpected);
        Result viaFile = Run("'" + WriteInput("in.txt", c.sInput) + "'");
        EXPECT_EQ(viaFile.sOut, c.sExpected);
    }
}

TEST_F(SplitToolTest, ReportsBadUseAndGoesOnAfterUnreadableFiles) {
    Result help = Run("--help");
    EXPECT_EQ(help.nStatus, 0);
    EXPECT_EQ(help.sOut.rfind("Usage: varnel-split", 0), 0u);

    Result badOption = Run("--frobnicate");
    EXPECT_EQ(badOption.nStatus, 2);
    EXPECT_NE(badOption.sErr.find("unknown option '--frobnicate'"), std::string::npos);

    Result badEncoding = Run("-e latin1");
    EXPECT_EQ(badEncoding.nStatus, 2);
    EXPECT_NE(badEncoding.sErr.find("unknown encoding 'latin1'"), std::string::npos);

    std::string sGood = WriteInput("good.txt", "Fine. Done.");
    Result missing = Run("'" + m_sDir + "/missing.txt' '" + sGood + "' '" + m_sDir + "'");
    EXPECT_EQ(missing.nStatus, 1);
    EXPECT_EQ(missing.sOut, "Fine.\nDone.\n");
    EXPECT_NE(missing.sErr.find("missing.txt"), std::string::npos) << missing.sErr;
    EXPECT_NE(missing.sErr.find("cannot read '" + m_sDir + "'"), std::string::npos) << missing.sErr;
}

// The bytes of a literal that holds NULs, without its own terminator.
template <size_t N>
std::string Bytes(const char (&s)[N]) {
    return std::string(s, N - 1);
}

TEST_F(SplitToolTest, NullEndsEachSentenceAndKeepsItsLineBreaks) {
    struct {
        const char* sArgs;
        std::string sInput;
        std::string sExpected;
    } const kCases[] = {
        {"-z", "One\r\nTwo\nThree", Bytes("One\r\0Two\n\0Three\0")},
        {"--null", std::string("A. B\0C", 6), Bytes("A.\0B\0C\0")},
        {"-z -j 2 -b 1K", "x\n", Bytes("x\n\0")},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.sArgs);
        Result r = Run(c.sArgs, c.sInput);
        EXPECT_EQ(r.nStatus, 0) << r.sErr;
        EXPECT_EQ(r.sOut, c.sExpected);
    }
}

TEST_F(SplitToolTest, TakesEncodingNamesInAnyCase) {
    // 你好。再见 in GBK, and the same in UTF-8.
    const std::string sGbk = "\xC4\xE3\xBA\xC3\xA1\xA3\xD4\xD9\xBC\xFB";
    const std::string sUtf8 = "\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\xE5\x86\x8D\xE8\xA7\x81";
    struct {
        const char* sArgs;
        const std::string& sInput;
    } const kCases[] = {
        {"-e GBK", sGbk},   {"-e cp936", sGbk}, {"--encoding=MS936", sGbk},
        {"-e UTF8", sUtf8}, {"-eutf-8", sUtf8}, {"-e U8", sUtf8},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.sArgs);
        Result r = Run(c.sArgs, c.sInput);
        EXPECT_EQ(r.nStatus, 0) << r.sErr;
        size_t nCut = c.sInput == sGbk ? 6 : 9;
        EXPECT_EQ(r.sOut, c.sInput.substr(0, nCut) + "\n" + c.sInput.substr(nCut) + "\n");
    }
}

TEST_F(SplitToolTest, PrintsTheOneVersion) {
    std::string sVersion = ReadWholeFile(std::string(VARNEL_SOURCE_DIR) + "/VERSION");
    sVersion = sVersion.substr(0, sVersion.find_first_of("\r\n"));
    ASSERT_FALSE(sVersion.empty());
    Result r = Run("--version");
    EXPECT_EQ(r.nStatus, 0);
    EXPECT_EQ(r.sOut, "varnel-split " + sVersion + "\n");
}

TEST_F(SplitToolTest, TakesTheSentenceOptions) {
    std::string sList = WriteInput("abbreviations.txt", "# names\nZq\n");
    const struct {
        std::string sArgs;
        const char* sInput;
        const char* sOut;
    } kCases[] = {
        {"", "\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9D\xE5\x86\x8D",  // 你好。”再
         "\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\n\xE2\x80\x9D\xE5\x86\x8D\n"},
        {"--attach-closers", "\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9D\xE5\x86\x8D",
         "\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9D\n\xE5\x86\x8D\n"},
        {"--reader", "I met Dr. Zq. Smith today. Bye", "I met Dr. Zq.\nSmith today.\nBye\n"},
        {"--abbreviations '" + sList + "'", "I met Dr. Zq. Smith today. Bye",
         "I met Dr. Zq. Smith today.\nBye\n"},
        {"--reader -j 2 -b 1K", "Wait?! \"Yes.\" Go", "Wait?!\n\"Yes.\"\nGo\n"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.sArgs);
        Result r = Run(c.sArgs, c.sInput);
        EXPECT_EQ(r.nStatus, 0) << r.sErr;
        EXPECT_EQ(r.sOut, c.sOut);
    }
    Result missing = Run("--abbreviations '" + m_sDir + "/none.txt'");
    EXPECT_EQ(missing.nStatus, 2);
    EXPECT_NE(missing.sErr.find("none.txt"), std::string::npos) << missing.sErr;
    Result bad = Run("--abbreviations '" + WriteInput("bad.txt", "Dr\nx y\n") + "'");
    EXPECT_EQ(bad.nStatus, 2);
    EXPECT_NE(bad.sErr.find("bad.txt:2:"), std::string::npos) << bad.sErr;
}

TEST_F(SplitToolTest, FailsWhenTheOutputCannotBeWritten) {
    Result r = Run("", "Some. Text.", "/dev/full");
    EXPECT_EQ(r.nStatus, 1);
    EXPECT_NE(r.sErr.find("cannot write"), std::string::npos) << r.sErr;
}

}  // namespace
