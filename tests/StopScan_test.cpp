#include "StopScan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

// The vector search against the one-byte-at-a-time reference, on random
// texts of the bytes that stop characters are made of, in buffers of their
// exact size so that a read past the end shows under the sanitizers.
TEST(StopScan, EqualsTheReference) {
    const unsigned char kBytes[] = {'.',  '"',  '(',  ')',  '[',  ']',  '\r', '\n', 'a',
                                    ' ',  0x80, 0x88, 0x89, 0x95, 0x96, 0x98, 0x9A, 0x9D,
                                    0xA1, 0xA3, 0xA8, 0xA9, 0xAD, 0xAE, 0xBB, 0xBC, 0xBD,
                                    0xBF, 0xC0, 0xDB, 0xDD, 0xE2, 0xE3, 0xEF, 0xFE};
    std::mt19937 random(14);
    for (int nText = 0; nText < 200; ++nText) {
        size_t nSize = 1 + random() % 300;
        std::vector<char> text(nSize);
        for (char& c : text) c = static_cast<char>(kBytes[random() % sizeof kBytes]);
        for (int nEncode : {0, 1}) {
            for (size_t i = 0; i < nSize; i += 1 + random() % 7) {
                uint64_t nAscii = 0, nExpectedAscii = 0;
                uint64_t nStops = varnel_host::FindStops(text.data(), i, nSize, nEncode, nAscii);
                uint64_t nExpected = varnel_host::FindStopsOneByOne(text.data(), i, 0, nSize,
                                                                    nEncode, nExpectedAscii);
                ASSERT_EQ(nStops, nExpected) << "text " << nText << " at " << i;
                ASSERT_EQ(nAscii, nExpectedAscii) << "text " << nText << " at " << i;
            }
        }
    }
}

// Several blocks at once give what the reference gives for each, also the
// blocks that start at or past the end of the text, which hold no stop and
// read nothing (the buffers are of the texts' exact size).
TEST(StopScan, WordsEqualTheReference) {
    const char kUnit[] = "\xE2\x80\x9C(a.\xA1\xB0\n \xEF\xBC\x88]";  // “ （ and GBK “
    std::mt19937 random(16);
    for (size_t nSize : {1, 5, 63, 64, 65, 66, 67, 130, 255, 256, 257, 300}) {
        std::vector<char> text(nSize);
        for (char& c : text) c = kUnit[random() % (sizeof kUnit - 1)];
        for (int nEncode : {0, 1}) {
            for (size_t i = 0; i < nSize; i += 1 + random() % 5) {
                uint64_t anStops[4], anAscii[4];
                varnel_host::FindStopsWords(text.data(), i, nSize, nEncode, 4, anStops, anAscii);
                for (size_t w = 0; w < 4; ++w) {
                    uint64_t nExpectedAscii = 0;
                    uint64_t nExpected = varnel_host::FindStopsOneByOne(
                        text.data(), i + 64 * w, 0, nSize, nEncode, nExpectedAscii);
                    ASSERT_EQ(anStops[w], nExpected) << nSize << " at " << i << " block " << w;
                    ASSERT_EQ(anAscii[w], nExpectedAscii) << nSize << " at " << i << " block " << w;
                }
            }
        }
    }
}

// Every stop character of the reference, and none of its neighbours.
TEST(StopScan, Characters) {
    struct Case {
        const char* s;
        int nEncode;
        bool bStop;
    };
    const Case kCases[] = {
        {"\xE2\x80\x9C", 1, true},   // “
        {"\xE2\x80\x99", 1, true},   // ’
        {"\xE2\x80\x9A", 1, false},  // ‚
        {"\xE3\x80\x8A", 1, true},   // 《
        {"\xE3\x80\x82", 1, false},  // 。
        {"\xEF\xBC\x88", 1, true},   // （
        {"\xEF\xBC\x8C", 1, false},  // ，
        {"\xEF\xBC\xBD", 1, true},   // ］
        {"\xA1\xB0", 0, true},       // “
        {"\xA1\xA3", 0, false},      // 。
        {"\xA3\xA8", 0, true},       // （
        {"\xA3\xAC", 0, false},      // ，
        {"\xA3\xDB", 0, true},       // ［
        {".", 0, true},
        {"?", 1, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.s);
        size_t n = strlen(c.s);
        EXPECT_EQ(varnel_host::IsStopAt(c.s, 0, n, c.nEncode), c.bStop);
    }
}

}  // namespace
