// varnel-split cutting its input into blocks and jobs: whatever the number of
// jobs and the block size, the output is that of splitting every text whole.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

#include "Commands.h"
#include "SplitOutput.h"

namespace {

// A few MB of the samples, with pieces that make a line feed no character
// boundary (a GBK first byte, a UTF-8 lead byte before it), NULs, CR LF, and
// lines far longer than a small block.
std::string MixedText(int nEncode, size_t nSize) {
    const std::string sDir = std::string(VARNEL_SOURCE_DIR) + "/samples/";
    const std::string asSamples[] = {
        ReadWholeFile(sDir + "en.txt"),
        ReadWholeFile(sDir + (nEncode == 1 ? "zh-utf8.txt" : "zh-gbk.txt"))};
    static const char* const kTraps[] = {
        "\xB0\n",
        "x\xB0\xB0\n",
        "\xB0\xB0\xB0\n?",
        "\xE4\n",
        "\xE4"
        "a\n",
        "\xF0\x9F\n",
        "\xF8"
        "abc\n",
        "\xFC"
        "abcd\n",
        "\xC3\n.",
        "\xE3\x80\x82\n",
        "\xA1\xA3\n",
        "\r\n",
        "\n\n",
        ". \n",
        "end.\n",
        "?",
        // Closers and what the reader mode joins, in UTF-8 (bytes of no
        // meaning in a GBK text, where the samples bring the same marks).
        "\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9D\xEF\xBC\x89",  // 你好。”）
        "\xE4\xBB\x80\xE4\xB9\x88\xEF\xBC\x9F\xEF\xBC\x81",              // 什么？！
        "\xE3\x80\x8A\xE5\xBF\xAB\xEF\xBC\x81\xE5\xA4\xA9\xE3\x80\x8B",  // 《快！天》
        "\"Yes!\" he said. ",
        "Dr. J. Smith met us at 5 p.m. on Jan. 3. ",
        "(one. two) ",
    };
    std::mt19937 rng(nEncode == 1 ? 1209 : 9021);
    std::uniform_int_distribution<int> pick(0, 99);
    std::string sText;
    while (sText.size() < nSize) {
        int n = pick(rng);
        if (n < 50) {
            sText += asSamples[n % 2];
        } else if (n < 90) {
            sText += kTraps[n % std::size(kTraps)];
        } else if (n < 93) {
            sText += '\0';
        } else {
            // A long line: the sample with its line feeds turned to blanks.
            std::string sLine = asSamples[n % 2] + asSamples[n % 2] + asSamples[n % 2];
            for (char& c : sLine)
                if (c == '\n') c = ' ';
            sText += sLine;
        }
    }
    return sText;
}

class SplitToolJobsTest : public testing::Test {
  protected:
    void SetUp() override {
        m_sDir = m_tempDir.path();
        ASSERT_FALSE(m_sDir.empty());
    }

    // The output of varnel-split with sArgs on sInput given as a file.
    std::string Split(const std::string& sArgs, const std::string& sInput) {
        std::string sIn = m_sDir + "/in", sOut = m_sDir + "/out";
        std::ofstream(sIn, std::ios::binary) << sInput;
        std::string sCommand = std::string("'") + VARNEL_SPLIT_PATH + "' --no-progress " + sArgs +
                               " '" + sIn + "' >'" + sOut + "'";
        int nRaw = system(sCommand.c_str());
        EXPECT_TRUE(WIFEXITED(nRaw) && WEXITSTATUS(nRaw) == 0) << sCommand;
        return ReadWholeFile(sOut);
    }

    TempDir m_tempDir;
    std::string m_sDir;
};

TEST_F(SplitToolJobsTest, OneAndTwoJobsPrintWhatSplittingWholeTextsPrints) {
    for (int nEncode : {1, 0}) {
        SCOPED_TRACE(nEncode == 1 ? "utf8" : "gbk");
        std::string sInput = MixedText(nEncode, 3 << 20);
        std::string sEncoding = nEncode == 1 ? "-e utf8" : "-e gbk";
        std::string sExpected = ExpectedOutput(sInput, nEncode);
        std::string sOne = Split(sEncoding + " -j 1 -b 1K", sInput);
        std::string sTwo = Split(sEncoding + " -j 2 -b 1K", sInput);
        ASSERT_EQ(sOne.size(), sExpected.size());
        EXPECT_TRUE(sOne == sExpected) << "-j 1 differs from splitting whole texts";
        EXPECT_TRUE(sTwo == sOne) << "-j 2 differs from -j 1";
        EXPECT_TRUE(Split(sEncoding + " -j 3 -b 64K", sInput) == sOne) << "-j 3 -b 64K";
        EXPECT_TRUE(Split(sEncoding + " -j 2", sInput) == sOne) << "-j 2, default block";
    }
}

// A block boundary never separates what the options would keep together: a
// closer from its mark, a quotation, an abbreviation from what follows.
TEST_F(SplitToolJobsTest, SentenceOptionsGiveTheSameOutputForEveryBlockAndJob) {
    varnel_host::SentenceOptions closers, reader;
    closers.bAttachClosers = true;
    reader.bReader = true;
    const struct {
        const char* sFlag;
        const varnel_host::SentenceOptions& options;
    } kModes[] = {{"--attach-closers", closers}, {"--reader", reader}};
    for (int nEncode : {1, 0}) {
        std::string sInput = MixedText(nEncode, 1 << 20);
        std::string sEncoding = nEncode == 1 ? "-e utf8 " : "-e gbk ";
        std::string sPlain = ExpectedOutput(sInput, nEncode);
        for (const auto& mode : kModes) {
            SCOPED_TRACE(sEncoding + mode.sFlag);
            std::string sExpected = ExpectedOutput(sInput, nEncode, mode.options);
            EXPECT_NE(sExpected, sPlain) << "the text holds nothing the option changes";
            std::string sArgs = sEncoding + mode.sFlag;
            EXPECT_TRUE(Split(sArgs + " -j 1 -b 1K", sInput) == sExpected) << "-j 1 -b 1K";
            EXPECT_TRUE(Split(sArgs + " -j 2 -b 1K", sInput) == sExpected) << "-j 2 -b 1K";
            EXPECT_TRUE(Split(sArgs + " -j 2 -b 64K", sInput) == sExpected) << "-j 2 -b 64K";
        }
    }
}

TEST_F(SplitToolJobsTest, ReadsStandardInputInBlocks) {
    std::string sInput = MixedText(1, 1 << 20);
    std::string sIn = m_sDir + "/in", sOut = m_sDir + "/out";
    std::ofstream(sIn, std::ios::binary) << sInput;
    // Through a pipe the size is unknown and reads come in pieces.
    std::string sCommand = "cat '" + sIn + "' | '" + VARNEL_SPLIT_PATH +
                           "' --progress -j 2 -b 4K >'" + sOut + "' 2>'" + m_sDir + "/err'";
    ASSERT_EQ(system(sCommand.c_str()), 0);
    EXPECT_TRUE(ReadWholeFile(sOut) == ExpectedOutput(sInput, 1));
    std::string sProgress = ReadWholeFile(m_sDir + "/err");
    EXPECT_NE(sProgress.find("(standard input)"), std::string::npos) << sProgress;
    EXPECT_NE(sProgress.find("MB/s"), std::string::npos) << sProgress;
}

TEST_F(SplitToolJobsTest, RejectsBadJobCountsAndBlockSizes) {
    struct {
        const char* sArgs;
        const char* sMessage;
    } const kCases[] = {
        {"-j 0", "number of jobs must be 1 to 64, not '0'"},
        {"--jobs=65", "not '65'"},
        {"-j two", "not 'two'"},
        {"-b 100", "block size must be 1K to 1G, not '100'"},
        {"--block-size 2X", "not '2X'"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.sArgs);
        std::string sCommand = std::string("'") + VARNEL_SPLIT_PATH + "' " + c.sArgs +
                               " </dev/null >/dev/null 2>'" + m_sDir + "/err'";
        int nRaw = system(sCommand.c_str());
        EXPECT_TRUE(WIFEXITED(nRaw) && WEXITSTATUS(nRaw) == 2);
        EXPECT_NE(ReadWholeFile(m_sDir + "/err").find(c.sMessage), std::string::npos);
    }
}

}  // namespace
