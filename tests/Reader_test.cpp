// The reader mode, rule by rule and where the rules meet, in GBK and UTF-8.
#include "Reader.h"

#include <gtest/gtest.h>

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

}  // namespace
