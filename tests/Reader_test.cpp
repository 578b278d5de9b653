// The reader mode, rule by rule and where the rules meet, in GBK and UTF-8.
#include "Reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "OptionCases.h"
#include "ReaderCases.h"

namespace {

TEST(Reader, Cases) {
    for (const OptionCase& c : kReaderCases) {
        SCOPED_TRACE(c.sName);
        EXPECT_EQ(Apply(c.sText, c.nEncode, Reader()), Expected(c));
    }
}

TEST(Reader, English) {
    for (const OptionCase& c : kEnglishCases) {
        for (int nEncode : {kUtf8, kGbk}) {
            SCOPED_TRACE(std::string(c.sName) + (nEncode == kUtf8 ? " utf8" : " gbk"));
            EXPECT_EQ(Apply(c.sText, nEncode, Reader()), Expected(c));
        }
    }
}

// The closers option adds nothing to the reader mode, which includes it.
TEST(Reader, WithClosersIsTheReaderMode) {
    SentenceOptions both = Reader();
    both.bAttachClosers = true;
    for (const OptionCase& c : kReaderCases) {
        SCOPED_TRACE(c.sName);
        EXPECT_EQ(Apply(c.sText, c.nEncode, both), Expected(c));
    }
}

// A quotation goes on past an end mark when its closer lies within
// kPairLookAhead bytes of the mark, and not one byte further.
TEST(Reader, PairLookAheadBound) {
    struct Encoding {
        int nEncode;
        const char* sOpen;   // “短。
        const char* sWide;   // 字
        const char* sClose;  // 。”完。
    };
    const Encoding kEncodings[] = {
        {kUtf8, "\xE2\x80\x9C\xE7\x9F\xAD\xE3\x80\x82", "\xE5\xAD\x97",
         "\xE3\x80\x82\xE2\x80\x9D\xE5\xAE\x8C\xE3\x80\x82"},
        {kGbk, "\xA1\xB0\xB6\xCC\xA1\xA3", "\xD7\xD6", "\xA1\xA3\xA1\xB1\xCD\xEA\xA1\xA3"},
    };
    for (const Encoding& e : kEncodings) {
        size_t nWide = strlen(e.sWide);
        // The characters that fit between the first mark and the closer.
        size_t nFit = (varnel_host::kPairLookAhead - 2 * nWide) / nWide;
        for (size_t nChars : {nFit, nFit + 1}) {
            SCOPED_TRACE(std::to_string(nChars) + " characters, encode " +
                         std::to_string(e.nEncode));
            std::string sFiller;
            for (size_t i = 0; i < nChars; ++i) sFiller += e.sWide;
            std::string sText = e.sOpen + sFiller + e.sClose;
            std::string sQuote = sText.substr(0, sText.size() - 2 * nWide);
            std::string sOpen = e.sOpen, sRest = sFiller + std::string(e.sClose, 2 * nWide);
            Sentences expected = nChars == nFit ? Sentences{sQuote, e.sClose + 2 * nWide}
                                                : Sentences{sOpen, sRest, e.sClose + 2 * nWide};
            EXPECT_EQ(Apply(sText, e.nEncode, Reader()), expected);
        }
    }
}

// The look-ahead for the closer of “ runs past the stops the scan has found
// (256 bytes from the text's start), and the scan then comes back for the
// marks in between: the 《》 inside the quotation and the ” that closes it
// must be read as the look-ahead read them.
TEST(Reader, LookAheadPastTheFoundStops) {
    struct Encoding {
        int nEncode;
        size_t nFiller;
        const char* sWide;   // 字
        const char* sFirst;  // 。
        const char* sQuote;  // “甲。乙《丙。丁》戊。”
        const char* sLast;   // 己。
    };
    const Encoding kEncodings[] = {
        {kUtf8, 80, "\xE5\xAD\x97", "\xE3\x80\x82",
         "\xE2\x80\x9C\xE7\x94\xB2\xE3\x80\x82\xE4\xB9\x99\xE3\x80\x8A\xE4\xB8\x99\xE3\x80\x82"
         "\xE4\xB8\x81\xE3\x80\x8B\xE6\x88\x8A\xE3\x80\x82\xE2\x80\x9D",
         "\xE5\xB7\xB1\xE3\x80\x82"},
        {kGbk, 122, "\xD7\xD6", "\xA1\xA3",
         "\xA1\xB0\xBC\xD7\xA1\xA3\xD2\xD2\xA1\xB6\xB1\xFB\xA1\xA3\xB6\xA1\xA1\xB7\xCE\xEC\xA1\xA3"
         "\xA1\xB1",
         "\xBC\xBA\xA1\xA3"},
    };
    for (const Encoding& e : kEncodings) {
        SCOPED_TRACE("encode " + std::to_string(e.nEncode));
        std::string sFirst;
        for (size_t i = 0; i < e.nFiller; ++i) sFirst += e.sWide;
        sFirst += e.sFirst;
        // The quotation's first end mark is in front of byte 256, its closer
        // behind it.
        ASSERT_LT(sFirst.size() + 3 * strlen(e.sFirst), 256u);
        ASSERT_GT(sFirst.size() + strlen(e.sQuote), 256u);
        Sentences expected = {sFirst, e.sQuote, e.sLast};
        EXPECT_EQ(Apply(sFirst + e.sQuote + e.sLast, e.nEncode, Reader()), expected);
    }
}

// The stops are found some blocks of 64 bytes at a time, from wherever the
// pass stands: what it gives must not depend on where the blocks fall. A
// line of its own in front ends a sentence and shifts them; the rest of the
// text, on random texts of the characters the mode judges, gives what it
// gives alone.
TEST(Reader, SameWhereverTheBlocksFall) {
    struct Encoding {
        int nEncode;
        std::vector<std::string> vsUnits;
    };
    const Encoding kEncodings[] = {
        {kUtf8, {"\xE2\x80\x9C", "\xE2\x80\x9D", "\xE3\x80\x8A", "\xE3\x80\x8B",  // “ ” 《 》
                 "\xE3\x80\x82", "\xEF\xBC\x81", "\xE5\xAD\x97", "\xE5\xAD\x97",  // 。 ！ 字 字
                 ". ",           "! ",           "? ",           "\"",           "(",     ")",  " ",
                 "\n",           "Dr. ",         "a ",           "The ",         "U.S. ", "1. "}},
        {kGbk, {"\xA1\xB0", "\xA1\xB1", "\xA1\xB6", "\xA1\xB7",  // “ ” 《 》
                "\xA1\xA3", "\xA3\xA1", "\xD7\xD6", "\xD7\xD6",  // 。 ！ 字 字
                ". ",       "! ",       "? ",       "\"",       "(",     ")",  " ",
                "\n",       "Dr. ",     "a ",       "The ",     "U.S. ", "1. "}},
    };
    std::mt19937 random(16);
    for (const Encoding& e : kEncodings) {
        for (int nText = 0; nText < 40; ++nText) {
            std::string sText;
            while (sText.size() < 1200) sText += e.vsUnits[random() % e.vsUnits.size()];
            Sentences alone = Apply(sText, e.nEncode, Reader());
            for (size_t nShift = 1; nShift < 70; nShift += 1 + random() % 9) {
                SCOPED_TRACE("text " + std::to_string(nText) + ", shifted by " +
                             std::to_string(nShift) + ", encode " + std::to_string(e.nEncode));
                std::string sLine = std::string(nShift, 'x') + "\n";
                Sentences shifted = Apply(sLine + sText, e.nEncode, Reader());
                ASSERT_FALSE(shifted.empty());
                EXPECT_EQ(shifted.front(), sLine);
                EXPECT_EQ(Sentences(shifted.begin() + 1, shifted.end()), alone);
            }
        }
    }
}

}  // namespace
