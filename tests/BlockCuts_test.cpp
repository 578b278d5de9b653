// Cutting an input read piece by piece into blocks that split as the whole
// input does, without splitting any part of it more than a few times.
#include "BlockCuts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Sentences.h"

namespace {

using varnel_host::BlockCutter;
using varnel_host::LastLineCut;
using varnel_host::SentenceOptions;
using varnel_host::Span;

TEST(BlockCuts, LastLineCutTakesOnlyLineFeedsThatAreCharacters) {
    struct Case {
        const char* sName;
        std::string sText;
        int nEncode;
        size_t nFrom;
        size_t nExpected;
    } const kCases[] = {
        {"the last line feed", "ab\ncd\nef", 1, 0, 6},
        {"none", "abc", 1, 0, 0},
        {"a UTF-8 lead byte takes it", "a\n\xE4\n", 1, 0, 2},
        {"a lead byte whose character ends before it",
         "\xE4"
         "ab\nc",
         1, 0, 4},
        {"a six-byte lead five back",
         "\xFC"
         "abcd\nx",
         1, 0, 0},
        {"a NUL ends a text", std::string("ab\0cd", 5), 1, 0, 3},
        {"a lead byte before a NUL takes nothing after it", std::string("\xE4\0\nx", 4), 1, 0, 3},
        {"a line feed after the NUL", std::string("a\0b\nc", 5), 1, 0, 4},
        {"only after nFrom", "a\nb\nc", 1, 4, 0},
        {"after nFrom", "a\nb\nc", 1, 3, 4},
        // GBK: a run of high bytes of odd length takes the line feed.
        {"a GBK first byte takes it", "a\n\xB0\n", 0, 0, 2},
        {"a whole GBK character before it", "\xB0\xB0\nx", 0, 0, 3},
        {"a run of three", "x\xB0\xB0\xB0\n\n", 0, 0, 6},
        // The run is counted from the text's start, also before nFrom.
        {"a run that begins before nFrom", "\xB0\xB0\xB0\n", 0, 3, 0},
        {"a run that stops at a NUL", std::string("\xB0\0\xB0\xB0\n", 5), 0, 0, 5},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.sName);
        EXPECT_EQ(LastLineCut(c.sText.data(), c.nFrom, c.sText.size(), c.nEncode), c.nExpected);
    }
}

// The library's splitter as the source of sentences; counts what it is given.
class CountingSource {
  public:
    bool operator()(const char* p, size_t n, int nEncode,
                    const varnel_host::SentenceVisitor& visit) {
        m_nAsked += n;
        size_t nEnd = 0;
        for (const char* s = m_splitter.GetSentence(p, nEncode); *s;
             s = m_splitter.GetSentence(nullptr, 0)) {
            size_t nLength = strlen(s);
            Span span = varnel_host::LibrarySentenceSpan(p, nEnd, nLength);
            EXPECT_EQ(std::string(p + span.nStart, nLength), std::string(s));
            visit(span);
            nEnd = span.nEnd;
        }
        return true;
    }
    size_t m_nAsked = 0;

  private:
    CSentences m_splitter;
};

// The sentences of sText split whole, each NUL-separated piece a text.
std::vector<std::string> Sentences(const std::string& sText, int nEncode) {
    CSentences splitter;
    std::vector<std::string> vs;
    for (size_t nPos = 0; nPos < sText.size();) {
        std::string sPiece = sText.c_str() + nPos;
        nPos += sPiece.size() + 1;
        for (const char* s = splitter.GetSentence(sPiece.c_str(), nEncode); *s;
             s = splitter.GetSentence(nullptr, 0))
            vs.push_back(s);
    }
    return vs;
}

struct CutRun {
    std::vector<std::string> vsSentences;  // of every block split on its own
    size_t nBlocks = 0;
    size_t nAsked = 0;  // bytes given to the source
    size_t nMaxHeld = 0;
};

// Feeds sText to a cutter nRead bytes at a time (random sizes when 0), as a
// host does, and splits every block on its own.
CutRun CutAndSplit(const std::string& sText, int nEncode, const SentenceOptions& options,
                   size_t nMinStretch, size_t nRead) {
    CountingSource source;
    BlockCutter cutter(nEncode, options, nMinStretch, std::ref(source));
    std::mt19937 rng(static_cast<unsigned>(sText.size()));
    CutRun run;
    std::string sHeld;
    for (size_t nPos = 0;;) {
        size_t nTake = nRead ? nRead : 1 + rng() % (3 * nMinStretch);
        if (nTake > sText.size() - nPos) nTake = sText.size() - nPos;
        sHeld.append(sText, nPos, nTake);
        nPos += nTake;
        bool bEnd = nPos == sText.size();
        if (sHeld.size() > run.nMaxHeld) run.nMaxHeld = sHeld.size();
        size_t nCut = cutter.Cut(sHeld.c_str(), sHeld.size(), bEnd);
        EXPECT_NE(nCut, BlockCutter::kFailed);
        if (nCut == BlockCutter::kFailed) break;
        if (nCut > 0) {
            for (const std::string& s : Sentences(sHeld.substr(0, nCut), nEncode))
                run.vsSentences.push_back(s);
            ++run.nBlocks;
            sHeld.erase(0, nCut);
        }
        if (bEnd) break;
    }
    run.nAsked = source.m_nAsked;
    return run;
}

// Texts that make cutting hard: line feeds that a character takes, marks
// right at the ends of reads, '.' before a blank or not, long lines, blank
// runs, NULs.
std::string TrickyText(int nEncode, size_t nSize, unsigned nSeed) {
    static const char* const kUtf8[] = {
        "Hi. ",
        "a.b",
        "\xE4\n",
        "\xE4"
        "a\n",
        "\xE3\x80\x82",
        "\xEF\xBC\x81",
        "?",
        "!",
        "\r\n",
        "\n",
        "x",
        "  ",
        "\xF8"
        "abc\n",
        ".",
        " ",
        "\xC3",
        "\t",
        "\xFC"
        "abcd\n",
    };
    static const char* const kGbk[] = {
        "Hi. ",     "a.b",   "\xB0\n", "x\xB0\xB0\n", "\xA1\xA3", "\xA3\xA1",
        "\xA3\xBF", "?",     "!",      "\r\n",        "\n",       "x",
        "  ",       "\xB0?", ".",      " ",           "\xA1",     "\xB0\xA1",
    };
    std::mt19937 rng(nSeed);
    std::string sText;
    while (sText.size() < nSize) {
        unsigned n = rng() % 100;
        if (n == 0) {
            sText += '\0';
        } else if (n < 3) {
            sText += std::string(rng() % 300, n == 1 ? ' ' : 'w');
        } else {
            sText += nEncode == 1 ? kUtf8[n % std::size(kUtf8)] : kGbk[n % std::size(kGbk)];
        }
    }
    return sText;
}

TEST(BlockCuts, BlocksSplitAsTheWholeInputDoes) {
    SentenceOptions plain, closers;
    closers.bAttachClosers = true;
    for (int nEncode : {1, 0}) {
        for (const SentenceOptions& options : {plain, closers}) {
            for (unsigned nSeed = 1; nSeed <= 6; ++nSeed) {
                SCOPED_TRACE(testing::Message() << "encode " << nEncode << ", options "
                                                << options.Any() << ", seed " << nSeed);
                std::string sText = TrickyText(nEncode, 60000, nSeed);
                // Line feeds only now and then: most cuts fall between sentences.
                if (nSeed % 2)
                    for (size_t i = 0; i < sText.size(); ++i)
                        if (sText[i] == '\n' && i % 50) sText[i] = ' ';
                CutRun run = CutAndSplit(sText, nEncode, options, 256, 0);
                EXPECT_GT(run.nBlocks, 100u);
                EXPECT_TRUE(run.vsSentences == Sentences(sText, nEncode));
            }
        }
    }
}

TEST(BlockCuts, SplitsEachByteAFewTimesAtMost) {
    struct Case {
        const char* sName;
        std::string sText;
        size_t nMaxHeld;
    } const kCases[] = {
        // One line of short sentences: cut between sentences block by block.
        {"short sentences", std::string(), 4 << 10},
        // One sentence: held whole, asked for when it has doubled.
        {"one sentence", std::string(1 << 20, 'w'), 2 << 20},
        // Blanks only: nothing to split, cut all the same.
        {"blanks", std::string(1 << 20, ' '), 4 << 10},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.sName);
        std::string sText = c.sText;
        if (sText.empty())
            while (sText.size() < (1 << 20)) sText += "Hi. \xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x81";
        CutRun run = CutAndSplit(sText, 1, SentenceOptions(), 2 << 10, 1 << 10);
        EXPECT_LE(run.nAsked, 3 * sText.size());
        EXPECT_LE(run.nMaxHeld, c.nMaxHeld);
        EXPECT_TRUE(run.vsSentences == Sentences(sText, 1));
    }
}

TEST(BlockCuts, WantsTwiceWhatItAskedForInVain) {
    CountingSource source;
    BlockCutter cutter(1, SentenceOptions(), 100, std::ref(source));
    EXPECT_EQ(cutter.Wanted(), 100u);
    std::string sText(150, 'w');
    EXPECT_EQ(cutter.Cut(sText.c_str(), 50, false), 0u);
    EXPECT_EQ(source.m_nAsked, 0u);
    EXPECT_EQ(cutter.Cut(sText.c_str(), 150, false), 0u);
    EXPECT_EQ(source.m_nAsked, 150u);
    EXPECT_EQ(cutter.Wanted(), 300u);
    sText += "! and more";
    EXPECT_EQ(cutter.Cut(sText.c_str(), sText.size(), false), 0u) << "asked again too soon";
    sText += std::string(150, 'w');
    EXPECT_EQ(cutter.Cut(sText.c_str(), sText.size(), false), 151u);
    EXPECT_EQ(cutter.Cut(sText.c_str() + 151, sText.size() - 151, true), sText.size() - 151);
    EXPECT_EQ(cutter.Wanted(), 100u);
}

TEST(BlockCuts, ReportsASourceThatFails) {
    BlockCutter cutter(
        1, SentenceOptions(), 10,
        [](const char*, size_t, int, const varnel_host::SentenceVisitor&) { return false; });
    std::string sText(20, 'w');
    EXPECT_EQ(cutter.Cut(sText.c_str(), sText.size(), false), BlockCutter::kFailed);
}

}  // namespace
