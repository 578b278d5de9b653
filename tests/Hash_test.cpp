#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <sys/resource.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Hash.h"

namespace {

// A byte pattern that runs through high bytes too: byte i is (7 * i + 33)
// mod 256, with 0 replaced by 1.
std::string Pattern(size_t nLen) {
    std::string s;
    for (size_t i = 0; i < nLen; ++i) {
        int b = static_cast<int>((i * 7 + 33) % 256);
        s += static_cast<char>(b ? b : 1);
    }
    return s;
}

struct HashCase {
    const char* name;
    std::string input;
    unsigned long elf;
    unsigned long hf;
    unsigned long strhash;
    unsigned long hfip;
    unsigned long dorvel;
};

// Expected values computed apart from this code, by a short script that
// follows the definitions of the hashes.
TEST(Hash, KnownValues) {
    const HashCase cases[] = {
        {"empty", "", 0, 0, 0, 0, 0},
        {"abc", "abc", 26499, 1770, 96354, 6513249, 33734718},
        {"ABC", "ABC", 17763, 1194, 64578, 4407873, 33734718},
        // 你好, Varnel!
        {"gbk", "\xC4\xE3\xBA\xC3, Varnel!", 9628289, 18540, 12733322362883298711ul, 3465129403,
         204659898},
        {"url", "http://example.org/index.html?q=1", 228822529, 154044, 9973295258262555662ul,
         1263995689, 552447099},
        {"130 bytes", Pattern(130), 89059112, 54225, 14313084300433750248ul, 10529, 2447886427},
        {"300 bytes", Pattern(300), 107242510, 38748, 501939306418487963ul, 2867006725, 4579416496},
        {"last 256 of them", Pattern(300).substr(44), 247742734, 36294, 7087200159348448065ul, 256,
         4579416496},
    };
    for (const HashCase& c : cases) {
        SCOPED_TRACE(c.name);
        const char* s = c.input.c_str();
        EXPECT_EQ(UrlHash(s), c.elf);
        EXPECT_EQ(ELFhash(s), c.elf);
        EXPECT_EQ(_hf(s), c.hf);
        EXPECT_EQ(Strhash(s), c.strhash);
        EXPECT_EQ(HfIp(s), c.hfip);
        EXPECT_EQ(Dorvelhash(s), c.dorvel);
    }
}

TEST(Hash, DorvelhashStartsFromTheCappedLength) {
    // Only the start value differs between these: the same last 96 bytes.
    std::string tail = Pattern(96);
    unsigned long nTailOnly = Dorvelhash(tail.c_str()) - (95ul << 24);
    for (size_t nLen : {97, 129, 200, 256, 257, 1000}) {
        SCOPED_TRACE(nLen);
        std::string s = std::string(nLen - 96, 'x') + tail;
        unsigned long nStart = (nLen <= 256 ? nLen - 1 : 255ul) << 24;
        EXPECT_EQ(Dorvelhash(s.c_str()), nStart + nTailOnly);
    }
}

struct CompressCase {
    int value;
    int length;
    unsigned char bytes[4];
};

const CompressCase kCompressCases[] = {
    {0, 1, {0x00}},
    {5, 1, {0x05}},
    {63, 1, {0x3F}},
    {64, 2, {0x40, 0x40}},
    {16383, 2, {0x7F, 0xFF}},
    {16384, 3, {0x80, 0x40, 0x00}},
    {4194303, 3, {0xBF, 0xFF, 0xFF}},
    {4194304, 4, {0xC0, 0x40, 0x00, 0x00}},
    {0x12345678, 4, {0xD2, 0x34, 0x56, 0x78}},
    {1073741823, 4, {0xFF, 0xFF, 0xFF, 0xFF}},
};

TEST(Hash, IntCompressWritesTheShortestForm) {
    for (const CompressCase& c : kCompressCases) {
        SCOPED_TRACE(c.value);
        unsigned char sVal[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
        ASSERT_EQ(int_compress(c.value, sVal), c.length);
        EXPECT_EQ(0, memcmp(sVal, c.bytes, c.length));
        EXPECT_EQ(sVal[c.length], 0xEE) << "wrote past its form";
    }
}

TEST(Hash, IntUncompressReadsEveryForm) {
    for (const CompressCase& c : kCompressCases) {
        SCOPED_TRACE(c.value);
        // Exactly the form's bytes, so that an overread shows under a sanitizer.
        unsigned char* sVal = new unsigned char[c.length];
        memcpy(sVal, c.bytes, c.length);
        int nValue = -1;
        EXPECT_EQ(int_uncompress(sVal, &nValue), c.length);
        EXPECT_EQ(nValue, c.value);
        delete[] sVal;
    }
}

TEST(Hash, IntCompressRejectsValuesWithoutAnEncoding) {
    for (int nValue : {-1, INT_MIN, 1073741824, INT_MAX}) {
        SCOPED_TRACE(nValue);
        unsigned char sVal[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        EXPECT_EQ(int_compress(nValue, sVal), 0);
        EXPECT_EQ(sVal[0], 0xEE);
        EXPECT_EQ(sVal[3], 0xEE);
    }
}

TEST(Hash, IntUncompressAcceptsLongerForms) {
    unsigned char two[] = {0x40, 0x05};
    unsigned char four[] = {0xC0, 0x00, 0x00, 0x3F};
    int nValue = 0;
    EXPECT_EQ(int_uncompress(two, &nValue), 2);
    EXPECT_EQ(nValue, 5);
    EXPECT_EQ(int_uncompress(four, &nValue), 4);
    EXPECT_EQ(nValue, 63);
}

TEST(Hash, WriteBufGrowsBy1024BeyondTheUsedSize) {
    char* pBuf = nullptr;
    int nBufSize = 0;
    int nBufMaxSize = 0;
    EXPECT_EQ(WriteBuf(&pBuf, nBufSize, nBufMaxSize, 0, false), 4);
    ASSERT_NE(pBuf, nullptr);
    EXPECT_EQ(nBufSize, 4);
    EXPECT_EQ(nBufMaxSize, 1024);
    for (int nCall = 2; nCall <= 254; ++nCall) {
        ASSERT_EQ(WriteBuf(&pBuf, nBufSize, nBufMaxSize, nCall, nCall % 2 == 0), nCall * 4);
    }
    EXPECT_EQ(nBufMaxSize, 1024);
    // The 255th call finds 1016 of 1024 bytes used: fewer than 10 to spare.
    EXPECT_EQ(WriteBuf(&pBuf, nBufSize, nBufMaxSize, 255, false), 1020);
    EXPECT_EQ(nBufMaxSize, 2040);

    // The earlier values survived the moves, in the byte order asked for.
    for (int nCall = 1; nCall <= 255; ++nCall) {
        SCOPED_TRACE(nCall);
        uint32_t nStored;
        memcpy(&nStored, pBuf + (nCall - 1) * 4, 4);
        bool bNet = nCall != 1 && nCall != 255 && nCall % 2 == 0;
        EXPECT_EQ(bNet ? ntohl(nStored) : nStored, static_cast<uint32_t>(nCall == 1 ? 0 : nCall));
    }
    free(pBuf);
}

TEST(Hash, WriteBufKeepsTenBytesSpareBeforeAWrite) {
    struct Case {
        int used;
        int maxSize;
        int expectedMaxSize;
    };
    const Case cases[] = {{90, 100, 100}, {91, 100, 1115}, {0, 9, 1024}, {0, 10, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.used) + " of " + std::to_string(c.maxSize));
        char* pBuf = static_cast<char*>(malloc(c.maxSize));
        int nBufSize = c.used;
        int nBufMaxSize = c.maxSize;
        EXPECT_EQ(WriteBuf(&pBuf, nBufSize, nBufMaxSize, 1, false), c.used + 4);
        EXPECT_EQ(nBufMaxSize, c.expectedMaxSize);
        free(pBuf);
    }
}

TEST(Hash, WriteBufNetworkOrderIsBigEndian) {
    char* pBuf = nullptr;
    int nBufSize = 0;
    int nBufMaxSize = 0;
    WriteBuf(&pBuf, nBufSize, nBufMaxSize, 0x01020304, true);
    WriteBuf(&pBuf, nBufSize, nBufMaxSize, -2, true);
    EXPECT_EQ(0, memcmp(pBuf, "\x01\x02\x03\x04\xFF\xFF\xFF\xFE", 8));
    free(pBuf);
}

TEST(Hash, WriteBufKeepsEverythingWhenItCannotGrow) {
    char sFixed[8] = "abcdefg";
    char* pBuf = sFixed;

    // A size that cannot grow by 1024 within an int.
    int nBufSize = INT_MAX - 100;
    int nBufMaxSize = INT_MAX - 95;
    EXPECT_EQ(WriteBuf(&pBuf, nBufSize, nBufMaxSize, 7, false), -1);
    EXPECT_EQ(pBuf, sFixed);
    EXPECT_EQ(nBufSize, INT_MAX - 100);
    EXPECT_EQ(nBufMaxSize, INT_MAX - 95);

    nBufSize = -4;
    nBufMaxSize = 8;
    EXPECT_EQ(WriteBuf(&pBuf, nBufSize, nBufMaxSize, 7, false), -1);
    EXPECT_EQ(nBufSize, -4);
    EXPECT_EQ(nBufMaxSize, 8);
    EXPECT_STREQ(sFixed, "abcdefg");
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VARNEL_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VARNEL_SANITIZED 1
#endif
#endif

// A failing realloc, brought about by a small address-space limit in a child.
TEST(HashDeathTest, WriteBufKeepsEverythingWhenReallocFails) {
#ifdef VARNEL_SANITIZED
    GTEST_SKIP() << "sanitizers reserve more address space than the limit allows";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto run = [] {
        const int kUsed = 1 << 30;
        char* pBuf = static_cast<char*>(malloc(16));
        int nBufSize = kUsed;  // pretend a large buffer; realloc must fail first
        int nBufMaxSize = kUsed;
        struct rlimit limit = {256u << 20, 256u << 20};
        if (setrlimit(RLIMIT_AS, &limit) != 0) exit(3);
        char* pBefore = pBuf;
        int nResult = WriteBuf(&pBuf, nBufSize, nBufMaxSize, 7, false);
        bool bIntact = pBuf == pBefore && nBufSize == kUsed && nBufMaxSize == kUsed;
        exit(nResult == -1 && bIntact ? 0 : 1);
    };
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
#endif
}

}  // namespace
