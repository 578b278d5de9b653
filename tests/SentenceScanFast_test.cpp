// The fast scan against the plain scan: every sentence the same, byte for
// byte, at every classifier level this build has and the processor runs; and
// the copy buffer that the splitter keeps between texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "CopyPastCaches.h"
#include "Scanner.h"
#include "Sentences.h"

// Array allocations of the whole program, counted so that a test can see
// whether the splitter allocated a new copy buffer and how much it holds.
// Each block carries its size in front of it.
size_t g_nArrayAllocations = 0;
size_t g_nArrayBytesInUse = 0;

namespace {
constexpr size_t kSizeHeader = 16;  // keeps the blocks aligned as malloc's are
}

void* operator new[](size_t nSize, const std::nothrow_t&) noexcept {
    char* p = static_cast<char*>(malloc(nSize + kSizeHeader));
    if (!p) return nullptr;
    memcpy(p, &nSize, sizeof nSize);
    ++g_nArrayAllocations;
    g_nArrayBytesInUse += nSize;
    return p + kSizeHeader;
}
void* operator new[](size_t nSize) {
    if (void* p = operator new[](nSize, std::nothrow)) return p;
    throw std::bad_alloc();
}
void operator delete[](void* p) noexcept {
    if (!p) return;
    char* pBlock = static_cast<char*>(p) - kSizeHeader;
    size_t nSize;
    memcpy(&nSize, pBlock, sizeof nSize);
    g_nArrayBytesInUse -= nSize;
    free(pBlock);
}
void operator delete[](void* p, size_t) noexcept { operator delete[](p); }

namespace {

using varnel::kNoSentenceEnd;
using varnel::ScanBlock;
using varnel::ScanSentenceEnd;
using varnel::ScanSentenceEndFast;
using varnel::SimdLevel;

const int kGbk = 0;
const int kUtf8 = 1;

using Cuts = std::vector<std::pair<size_t, size_t>>;  // first byte and end of each sentence

std::vector<SimdLevel> VectorLevels() {
    std::vector<SimdLevel> levels;
    for (SimdLevel level : {SimdLevel::kWord, SimdLevel::kSse2, SimdLevel::kAvx2})
        if (varnel::SimdLevelRuns(level)) levels.push_back(level);
    return levels;
}

const char* LevelName(SimdLevel level) {
    switch (level) {
        case SimdLevel::kAvx2:
            return "avx2";
        case SimdLevel::kSse2:
            return "sse2";
        case SimdLevel::kWord:
            return "word";
        default:
            return "scalar";
    }
}

// The text in a buffer of exactly its size and terminator, so that the
// address sanitizer sees any read beyond it.
std::vector<char> ExactCopy(const std::string& sText) {
    std::vector<char> buffer(sText.begin(), sText.end());
    buffer.push_back('\0');
    buffer.shrink_to_fit();
    return buffer;
}

// The splitter's walk through a text: skip blanks, scan, go on behind the
// cut; one kept block serves the whole text as in CSentences. kScalar runs
// the plain scan.
Cuts SplitWith(const std::string& sText, int nEncode, SimdLevel level) {
    std::vector<char> buffer = ExactCopy(sText);
    const char* p = buffer.data();
    ScanBlock block;
    block.level = level;
    size_t nSize = sText.size(), nPos = 0;
    Cuts cuts;
    for (;;) {
        while (nPos < nSize && strchr(" \r\n\t", p[nPos])) ++nPos;
        size_t nLen = level == SimdLevel::kScalar
                          ? ScanSentenceEnd(p + nPos, nSize - nPos, nEncode)
                          : ScanSentenceEndFast(p + nPos, nSize - nPos, nEncode, block);
        if (nLen == kNoSentenceEnd) {
            if (nPos < nSize) cuts.emplace_back(nPos, nSize);
            return cuts;
        }
        cuts.emplace_back(nPos, nPos + nLen);
        nPos += nLen;
    }
}

void ExpectSameSplit(const std::string& sText, int nEncode) {
    Cuts expected = SplitWith(sText, nEncode, SimdLevel::kScalar);
    for (SimdLevel level : VectorLevels()) {
        SCOPED_TRACE(LevelName(level));
        ASSERT_EQ(SplitWith(sText, nEncode, level), expected);
    }
}

// Every suffix of the text as a text of its own, each with a fresh block.
void ExpectSameScanFromEveryStart(const std::string& sText, int nEncode) {
    std::vector<char> buffer = ExactCopy(sText);
    for (SimdLevel level : VectorLevels()) {
        for (size_t nStart = 0; nStart <= sText.size(); ++nStart) {
            const char* p = buffer.data() + nStart;
            size_t nSize = sText.size() - nStart;
            ScanBlock block;
            block.level = level;
            ASSERT_EQ(ScanSentenceEndFast(p, nSize, nEncode, block),
                      ScanSentenceEnd(p, nSize, nEncode))
                << LevelName(level) << " from byte " << nStart;
        }
    }
}

std::string ReadSample(const char* sName) {
    std::ifstream in(std::string(VARNEL_SOURCE_DIR) + "/samples/" + sName, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(SentenceScanFastTest, AgreesOnTheSampleCorpora) {
    const char* const kSamples[] = {"en.txt", "zh-utf8.txt", "zh-gbk.txt"};
    for (const char* sName : kSamples) {
        std::string sSample = ReadSample(sName);
        ASSERT_FALSE(sSample.empty()) << sName;
        // Each repetition is shifted by one more byte, so that the sentences
        // meet the block boundaries everywhere. Read in both encodings: GBK
        // read as UTF-8 is ill-formed and goes through the fallback.
        std::string sText;
        for (int k = 0; sText.size() < 60000; ++k) sText += std::string(k % 5, 'x') + sSample;
        for (int nEncode : {kGbk, kUtf8}) {
            SCOPED_TRACE(std::string(sName) + (nEncode == kUtf8 ? " as utf8" : " as gbk"));
            ExpectSameSplit(sText, nEncode);
        }
    }
}

// Random texts weighted towards the bytes that matter: marks and their
// pieces, high bytes, CR/LF, '.', blanks, truncated sequences, with runs of
// plain letters or Chinese characters in between of varying length, so that
// sentences run over several blocks.
std::string RandomText(std::mt19937& rng) {
    static const char* const kPieces[] = {"\xA1\xA3",
                                          "\xA3\xA1",
                                          "\xA3\xBF",
                                          "\xA3\xA3",
                                          "\xA3",
                                          "\xA1",
                                          "\xBF",  // GBK marks, pieces
                                          "\xE3\x80\x82",
                                          "\xEF\xBC\x81",
                                          "\xEF\xBC\x9F",
                                          "\xE3\x80",
                                          "\xEF\xBC",  // UTF-8 marks, pieces
                                          "\xE3",
                                          "\xEF",
                                          "\x80",
                                          "\x82",
                                          "\xC3",
                                          "\xF0\x9F",
                                          "\xF8",
                                          "\xFC",
                                          "\xFF",
                                          ".",
                                          ". ",
                                          ".\t",
                                          "?",
                                          "!",
                                          "\r",
                                          "\n",
                                          "\r\n",
                                          " ",
                                          "\t",
                                          "a",
                                          "3",
                                          ";",
                                          "\xD6\xD0",      // 中 in GBK
                                          "\xE4\xB8\xAD",  // 中 in UTF-8
                                          "\xF0\x9F\x98\x80",
                                          "\xC3\xA9"};
    static const char* const kFillers[] = {"abcdefgh", "\xD6\xD0\xCE\xC4",  // 中文 in GBK
                                           "\xE4\xB8\xAD\xE6\x96\x87"};     // 中文 in UTF-8
    std::uniform_int_distribution<size_t> pickPiece(0, std::size(kPieces) - 1);
    std::uniform_int_distribution<size_t> pickFiller(0, std::size(kFillers) - 1);
    std::uniform_int_distribution<int> pieces(0, 40), fillerLen(0, 90), percent(0, 99),
        high(0x80, 0xFF);
    int nFillerShare = percent(rng);
    std::string sText;
    for (int k = pieces(rng); k > 0; --k) {
        int nDraw = percent(rng);
        if (nDraw < nFillerShare / 2) {
            std::string sFiller = kFillers[pickFiller(rng)];
            for (int n = fillerLen(rng); n > 0; n -= static_cast<int>(sFiller.size()))
                sText += sFiller;
        } else if (nDraw < nFillerShare / 2 + 10) {
            sText += static_cast<char>(high(rng));
        } else {
            sText += kPieces[pickPiece(rng)];
        }
    }
    return sText;
}

TEST(SentenceScanFastTest, AgreesOnRandomTexts) {
    std::mt19937 rng(91210);
    for (int nRound = 0; nRound < 4000; ++nRound) {
        std::string sText = RandomText(rng);
        int nEncode = nRound % 2 ? kUtf8 : kGbk;
        SCOPED_TRACE(testing::PrintToString(sText) + (nEncode == kUtf8 ? " utf8" : " gbk"));
        ExpectSameSplit(sText, nEncode);
        ExpectSameScanFromEveryStart(sText, nEncode);
        if (HasFatalFailure()) return;
    }
}

// Each mark at every position across the first blocks, after fillers of one,
// two, three and four bytes a character, with and without a short sentence in
// front (whose block the marked sentence then starts in).
TEST(SentenceScanFastTest, AgreesWithAMarkAtEveryBlockPosition) {
    struct Mark {
        const char* sBytes;
        int nEncode;
    };
    const Mark kMarks[] = {
        {"\xA1\xA3", kGbk},       // 。
        {"\xA3\xA1", kGbk},       // ！
        {"\xA3\xBF", kGbk},       // ？
        {"\xA3\xA3", kGbk},       // ＃, no mark
        {"\xA1\xA1", kGbk},       // full-width space: 。's first byte, ！'s last
        {"\xA3\xB1", kGbk},       // １: ends in the low four bits of ！
        {"\xB0?", kGbk},          // '?' as the second byte of a pair
        {"\xE3\x80\x82", kUtf8},  // 。
        {"\xEF\xBC\x81", kUtf8},  // ！
        {"\xEF\xBC\x9F", kUtf8},  // ？
        {"\xE3\x80?", kUtf8},     // '?' inside a sequence
        {"\xE3\x80\x81", kUtf8},  // 、: 。's first two bytes, ！'s last
        {"\xEF\xBC\x82", kUtf8},  // ＂: ！'s first two bytes, 。's last
        {"\xE3\x80\x92", kUtf8},  // 〒: ends in the low four bits of 。
        {"?", kGbk},
        {"?", kUtf8},
        {"!", kUtf8},
        {"\r", kGbk},
        {"\n", kUtf8},
        {". ", kGbk},
        {". ", kUtf8},
        {".x", kUtf8},
    };
    const char* const kFillers[] = {"a", "\xD6\xD0" /* 中 GBK */, "\xE4\xB8\xAD" /* 中 UTF-8 */,
                                    "\xF0\x9F\x98\x80", "\xC3\xA9"};
    for (const Mark& mark : kMarks) {
        for (const char* sFiller : kFillers) {
            for (const char* sFront : {"", "Hi. "}) {
                for (size_t nAt = 0; nAt < 200; ++nAt) {
                    std::string sText = sFront;
                    while (sText.size() + strlen(sFiller) <= nAt) sText += sFiller;
                    sText.append(nAt - std::min(nAt, sText.size()), 'a');
                    sText += mark.sBytes;
                    for (int k = 0; k < 40; ++k) sText += sFiller;
                    SCOPED_TRACE(testing::PrintToString(sText));
                    ExpectSameSplit(sText, mark.nEncode);
                    if (HasFatalFailure()) return;
                }
            }
        }
    }
}

// The text with each 'W' replaced by a wide character.
std::string WithWide(const char* sPattern, const std::string& sWide) {
    std::string sText;
    for (const char* p = sPattern; *p; ++p) sText += *p == 'W' ? sWide : std::string(1, *p);
    return sText;
}

// Whether a '.' ends a sentence depends on every character since the
// sentence began, which may lie in an earlier block: a run of plain letters
// of every length carries the sentence's state over the block boundaries.
TEST(SentenceScanFastTest, CarriesTheDotRuleAcrossBlocks) {
    struct Case {
        const char* sHead;  // before the run
        const char* sTail;  // after it
    };
    const char* const kWide[] = {"\xD6\xD0" /* 中 GBK */, "\xE4\xB8\xAD" /* 中 UTF-8 */};
    for (int nEncode : {kGbk, kUtf8}) {
        std::string sWide = kWide[nEncode];
        const Case kCases[] = {
            {"", ". b"},         // single-byte all along: the '.' counts
            {"W", ". b"},        // a wide character before: it does not
            {"W", ". W b. c"},   // nor in a block that has wide characters
            {"W", "! aa. b"},    // it counts once a mark has ended that sentence
            {"W", "! W aa. b"},  // but not when a wide one follows the mark
            {"a!W", ". b"},      // a wide character behind the last end
            {"a!W b. c! d", ". W"},
        };
        const size_t kWindow = varnel::kScanWord * varnel::kScanWindowWords;
        for (const Case& c : kCases) {
            for (size_t nRun = kWindow - 150; nRun < kWindow + 150; ++nRun) {
                std::string sText =
                    WithWide(c.sHead, sWide) + std::string(nRun, 'a') + WithWide(c.sTail, sWide);
                SCOPED_TRACE(testing::PrintToString(sText));
                ExpectSameSplit(sText, nEncode);
                if (HasFatalFailure()) return;
            }
        }
    }
}

TEST(SentenceScanFastTest, KeepsTheCopyForTextsThatFit) {
    // Both texts reach over more than one block, so the scan of the second
    // must not trust what it learned of the first at the same address.
    const std::string sFirst = "Hi? There! " + std::string(120, 'a') + "!";
    const std::string sSecond = std::string(100, 'b') + "? Then more. " + std::string(10, 'c');
    CSentences splitter;
    const char* pFirst = splitter.GetSentence(sFirst.c_str(), kUtf8);
    EXPECT_STREQ(pFirst, "Hi?");
    EXPECT_STREQ(splitter.GetSentence(nullptr, kUtf8), "There!");
    size_t nAllocations = g_nArrayAllocations;
    const char* pSecond = splitter.GetSentence(sSecond.c_str(), kUtf8);
    EXPECT_EQ(g_nArrayAllocations, nAllocations) << "the second text should reuse the buffer";
    EXPECT_EQ(pSecond, pFirst);
    EXPECT_EQ(std::string(pSecond), std::string(100, 'b') + "?");
    EXPECT_STREQ(splitter.GetSentence(nullptr, kUtf8), "Then more.");
    EXPECT_EQ(std::string(splitter.GetSentence(nullptr, kUtf8)), std::string(10, 'c'));
    EXPECT_STREQ(splitter.GetSentence(nullptr, kUtf8), "");
    // The rest of the longer text still stands behind the terminator.
    EXPECT_STREQ(splitter.GetSentence("ab", kUtf8), "ab");
    EXPECT_STREQ(splitter.GetSentence(nullptr, kUtf8), "");
}

// Sentences of a text with the splitter as it is, against a new splitter
// that has no buffer to keep; the texts are sized around the stretches in
// which the copy looks for the terminator (16 KB) and around the kept buffer.
std::vector<std::string> SplitAll(CSentences& splitter, const std::string& sText) {
    std::vector<std::string> vs;
    for (const char* s = splitter.GetSentence(sText.c_str(), kUtf8); *s;
         s = splitter.GetSentence(nullptr, kUtf8))
        vs.push_back(s);
    return vs;
}

TEST(SentenceScanFastTest, CopiesTextsOfEverySizeIntoTheKeptBuffer) {
    const size_t kStretch = 16 << 10;
    const size_t kSizes[] = {0,
                             1,
                             kStretch - 1,
                             kStretch,
                             kStretch + 1,
                             3 * kStretch - 2,
                             3 * kStretch - 1,
                             3 * kStretch,
                             3 * kStretch + 1,
                             5 * kStretch + 7};
    CSentences splitter;
    for (size_t nSize : kSizes) {
        for (size_t nNext : kSizes) {
            // Sentences of various lengths, so that no two texts split alike.
            std::string sText, sNext;
            for (size_t k = 0; sText.size() < nSize; ++k) sText += std::string(k % 97, 'a') + ". ";
            for (size_t k = 0; sNext.size() < nNext; ++k)
                sNext += "Zz" + std::string(k % 89, 'b') + "? ";
            sText.resize(nSize);
            sNext.resize(nNext);
            SCOPED_TRACE(std::to_string(nSize) + " then " + std::to_string(nNext));
            SplitAll(splitter, sText);
            CSentences fresh;
            ASSERT_EQ(SplitAll(splitter, sNext), SplitAll(fresh, sNext));
        }
    }
}

TEST(SentenceScanFastTest, GivesBackACopyFarLargerThanTheText) {
    const size_t kMB = size_t(1) << 20;
    std::string sLarge(16 * kMB, 'a');
    sLarge += ". End.";
    CSentences splitter;
    size_t nBefore = g_nArrayBytesInUse;
    EXPECT_EQ(strlen(splitter.GetSentence(sLarge.c_str(), kUtf8)), 16 * kMB + 1);
    EXPECT_GE(g_nArrayBytesInUse, nBefore + 16 * kMB);
    EXPECT_STREQ(splitter.GetSentence("Small.", kUtf8), "Small.");
    EXPECT_LT(g_nArrayBytesInUse, nBefore + kMB) << "a small text must not keep the large copy";
}

// Beyond its first 16 MB a text is copied past the caches: texts that reach
// beyond, into a new buffer and into the kept one, and a sentence of its own
// that long handed back, where source and copy overlap.
TEST(SentenceScanFastTest, CopiesTextsLongerThanTheCachedHead) {
    const size_t kMB = size_t(1) << 20;
    CSentences splitter;
    for (size_t nTarget : {21 * kMB, 16 * kMB + 1, 21 * kMB - 70}) {
        std::string sText;
        std::vector<std::string> vExpected;
        for (size_t k = 0; sText.size() < nTarget; ++k) {
            vExpected.push_back(std::string(k % 97, 'a') + static_cast<char>('b' + k % 20) + ".");
            sText += vExpected.back() + " ";
        }
        SCOPED_TRACE(sText.size());
        ASSERT_TRUE(SplitAll(splitter, sText) == vExpected);
    }
    std::string sLong = std::string(17 * kMB, 'c') + "d.";
    std::string sText = "Head. " + sLong + " Tail.";
    splitter.GetSentence(sText.c_str(), kUtf8);
    const char* sSecond = splitter.GetSentence(nullptr, kUtf8);
    ASSERT_TRUE(splitter.GetSentence(sSecond, kUtf8) == sLong);
    EXPECT_STREQ(splitter.GetSentence(nullptr, kUtf8), "");
}

TEST(SentenceScanFastTest, CopiesPastTheCachesAtAnyAlignment) {
    std::string sSource(300, '\0');
    for (size_t k = 0; k < sSource.size(); ++k) sSource[k] = static_cast<char>(k * 7 + 1);
    for (size_t nTo : {0, 1, 15, 16}) {
        for (size_t nFrom : {0, 3}) {
            for (size_t nBytes : {0, 5, 16, 63, 64, 65, 200, 280}) {
                std::vector<char> dest(320, 'x');
                varnel::CopyPastCaches(dest.data() + nTo, sSource.data() + nFrom, nBytes);
                std::string sExpected = std::string(nTo, 'x') + sSource.substr(nFrom, nBytes);
                sExpected.resize(dest.size(), 'x');
                EXPECT_EQ(std::string(dest.begin(), dest.end()), sExpected)
                    << nTo << " " << nFrom << " " << nBytes;
            }
        }
    }
}

// A sentence of the current text handed back as the next text: inside the
// kept buffer the bytes overlap, and a buffer given back must not be freed
// before the sentence is copied out of it.
TEST(SentenceScanFastTest, TakesASentenceOfItsOwnAsTheNextText) {
    CSentences splitter;
    std::string sLong = "A. " + std::string(100, 'b') + ". Tail.";
    splitter.GetSentence(sLong.c_str(), kUtf8);
    const char* sSecond = splitter.GetSentence(nullptr, kUtf8);
    EXPECT_EQ(std::string(splitter.GetSentence(sSecond, kUtf8)), std::string(100, 'b') + ".");
    EXPECT_STREQ(splitter.GetSentence(nullptr, kUtf8), "");

    std::string sLarge = "Head. " + std::string(2 << 20, 'c') + ". Last one.";
    splitter.GetSentence(sLarge.c_str(), kUtf8);
    splitter.GetSentence(nullptr, kUtf8);
    const char* sLast = splitter.GetSentence(nullptr, kUtf8);
    EXPECT_STREQ(splitter.GetSentence(sLast, kUtf8), "Last one.");
}

}  // namespace
