// The fast scan's byte classes on x86-64: SSE2, which every x86-64 processor
// has, and AVX2, compiled for its own functions only and used when the
// processor reports it.
#include <emmintrin.h>
#include <immintrin.h>

#include "FastScan.h"

namespace {

// Every byte value repeated over 32 bytes. The vector code compares against
// these in memory rather than building each constant in a register, which
// runs out of registers and rebuilds them on every chunk.
struct SplatTable {
    alignas(32) unsigned char a[256][32];
};

constexpr SplatTable MakeSplats() {
    SplatTable t{};
    for (int c = 0; c < 256; ++c)
        for (int k = 0; k < 32; ++k) t.a[c][k] = static_cast<unsigned char>(c);
    return t;
}

constexpr SplatTable kSplats = MakeSplats();

inline __m128i Byte(int c) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(kSplats.a[c]));
}

// One bit per byte; SSE2 gives 16, AVX2 32, and four or two of them make a word.
inline uint64_t Bits16(__m128i v, int nChunk) {
    return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(v))) << (16 * nChunk);
}

// '?', '!', CR, LF.
inline __m128i SingleByteMarks(__m128i b) {
    __m128i m = _mm_or_si128(_mm_cmpeq_epi8(b, Byte('?')), _mm_cmpeq_epi8(b, Byte('!')));
    m = _mm_or_si128(m, _mm_cmpeq_epi8(b, Byte('\r')));
    return _mm_or_si128(m, _mm_cmpeq_epi8(b, Byte('\n')));
}

inline __m128i DotsBeforeSpace(__m128i b, __m128i n1) {
    return _mm_and_si128(_mm_cmpeq_epi8(b, Byte('.')), _mm_cmpeq_epi8(n1, Byte(' ')));
}

inline __m128i Load16(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// "。" A1 A3, "！" A3 A1, "？" A3 BF: at their first bytes.
inline __m128i GbkFullWidthMarks(__m128i b, __m128i n1) {
    __m128i m = _mm_and_si128(_mm_cmpeq_epi8(b, Byte(0xA1)), _mm_cmpeq_epi8(n1, Byte(0xA3)));
    __m128i n1Mark = _mm_or_si128(_mm_cmpeq_epi8(n1, Byte(0xA1)), _mm_cmpeq_epi8(n1, Byte(0xBF)));
    return _mm_or_si128(m, _mm_and_si128(_mm_cmpeq_epi8(b, Byte(0xA3)), n1Mark));
}

// "。" E3 80 82, "！" EF BC 81, "？" EF BC 9F: at their first bytes.
inline __m128i Utf8FullWidthMarks(__m128i b, __m128i n1, __m128i n2) {
    __m128i m = _mm_and_si128(_mm_cmpeq_epi8(b, Byte(0xE3)), _mm_cmpeq_epi8(n1, Byte(0x80)));
    m = _mm_and_si128(m, _mm_cmpeq_epi8(n2, Byte(0x82)));
    __m128i mEf = _mm_and_si128(_mm_cmpeq_epi8(b, Byte(0xEF)), _mm_cmpeq_epi8(n1, Byte(0xBC)));
    __m128i n2Mark = _mm_or_si128(_mm_cmpeq_epi8(n2, Byte(0x81)), _mm_cmpeq_epi8(n2, Byte(0x9F)));
    return _mm_or_si128(m, _mm_and_si128(mEf, n2Mark));
}

// The lead bytes of UTF-8 by length: with the top bit of a byte, its next
// bits tell 2 (110), 3 (1110), 4 (11110) or 5 and 6 (11111) bytes. Doubling a
// byte moves its next bit to the top, where the bit mask reads it.
inline void AddLeads(uint64_t nHigh, uint64_t nBit6, uint64_t nBit5, uint64_t nBit4, uint64_t nBit3,
                     BlockMasks& m) {
    uint64_t nLead2 = nHigh & nBit6, nLead3 = nLead2 & nBit5, nLead4 = nLead3 & nBit4;
    m.nLead2 |= nLead2;
    m.nLead3 |= nLead3;
    m.nLead4 |= nLead4;
    m.nLead5 |= nLead4 & nBit3;
}

inline void AddLeads16(__m128i b, uint64_t nHigh, int k, BlockMasks& m) {
    __m128i b6 = _mm_add_epi8(b, b), b5 = _mm_add_epi8(b6, b6), b4 = _mm_add_epi8(b5, b5);
    AddLeads(nHigh, Bits16(b6, k), Bits16(b5, k), Bits16(b4, k), Bits16(_mm_add_epi8(b4, b4), k),
             m);
}

// Each chunk of a word adds its bits at a fixed place; full-width marks and
// lead bytes are looked for only in chunks that have bytes of 0x80 and above.
template <int kChunk>
inline void ClassifyGbkChunk16(const unsigned char* p, BlockMasks& m) {
    __m128i b = Load16(p + 16 * kChunk), n1 = Load16(p + 16 * kChunk + 1);
    __m128i marks = SingleByteMarks(b);
    m.nDots |= Bits16(DotsBeforeSpace(b, n1), kChunk);
    if (uint64_t nHigh = Bits16(b, kChunk)) {
        m.nHigh |= nHigh;
        marks = _mm_or_si128(marks, GbkFullWidthMarks(b, n1));
    }
    m.nMarks |= Bits16(marks, kChunk);
}

template <int kChunk>
inline void ClassifyUtf8Chunk16(const unsigned char* p, BlockMasks& m) {
    __m128i b = Load16(p + 16 * kChunk), n1 = Load16(p + 16 * kChunk + 1);
    __m128i marks = SingleByteMarks(b);
    m.nDots |= Bits16(DotsBeforeSpace(b, n1), kChunk);
    if (uint64_t nHigh = Bits16(b, kChunk)) {
        m.nHigh |= nHigh;
        marks = _mm_or_si128(marks, Utf8FullWidthMarks(b, n1, Load16(p + 16 * kChunk + 2)));
        AddLeads16(b, nHigh, kChunk, m);
    }
    m.nMarks |= Bits16(marks, kChunk);
}

void ClassifyGbkSse2(const unsigned char* p, size_t nWords, BlockMasks* masks) {
    for (size_t w = 0; w < nWords; ++w, p += kScanWord) {
        BlockMasks m = {};
        ClassifyGbkChunk16<0>(p, m);
        ClassifyGbkChunk16<1>(p, m);
        ClassifyGbkChunk16<2>(p, m);
        ClassifyGbkChunk16<3>(p, m);
        masks[w] = m;
    }
}

void ClassifyUtf8Sse2(const unsigned char* p, size_t nWords, BlockMasks* masks) {
    for (size_t w = 0; w < nWords; ++w, p += kScanWord) {
        BlockMasks m = {};
        ClassifyUtf8Chunk16<0>(p, m);
        ClassifyUtf8Chunk16<1>(p, m);
        ClassifyUtf8Chunk16<2>(p, m);
        ClassifyUtf8Chunk16<3>(p, m);
        masks[w] = m;
    }
}

#define VARNEL_AVX2 __attribute__((target("avx2")))

VARNEL_AVX2 inline __m256i Byte32(int c) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(kSplats.a[c]));
}

VARNEL_AVX2 inline uint64_t Bits32(__m256i v, int nChunk) {
    return static_cast<uint64_t>(static_cast<unsigned>(_mm256_movemask_epi8(v))) << (32 * nChunk);
}

VARNEL_AVX2 inline __m256i Load32(const unsigned char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// '?', '!', CR, LF by one table look-up: their low halves (F, 1, D, A) differ,
// so the table holds each mark at its low half and 0x80, which no byte below
// 0x80 equals, elsewhere; bytes of 0x80 and above look up 0.
VARNEL_AVX2 inline __m256i SingleByteMarks32(__m256i b) {
    alignas(32) static const char kTable[32] = {
        '\x80', '!',    '\x80', '\x80', '\x80', '\x80', '\x80', '\x80', '\x80', '\x80', '\n',
        '\x80', '\x80', '\r',   '\x80', '?',    '\x80', '!',    '\x80', '\x80', '\x80', '\x80',
        '\x80', '\x80', '\x80', '\x80', '\n',   '\x80', '\x80', '\r',   '\x80', '?'};
    __m256i table = _mm256_load_si256(reinterpret_cast<const __m256i*>(kTable));
    return _mm256_cmpeq_epi8(_mm256_shuffle_epi8(table, b), b);
}

VARNEL_AVX2 inline __m256i DotsBeforeSpace32(__m256i b, __m256i n1) {
    return _mm256_and_si256(_mm256_cmpeq_epi8(b, Byte32('.')), _mm256_cmpeq_epi8(n1, Byte32(' ')));
}

VARNEL_AVX2 inline void AddLeads32(__m256i b, uint64_t nHigh, int k, BlockMasks& m) {
    __m256i b6 = _mm256_add_epi8(b, b), b5 = _mm256_add_epi8(b6, b6), b4 = _mm256_add_epi8(b5, b5);
    AddLeads(nHigh, Bits32(b6, k), Bits32(b5, k), Bits32(b4, k), Bits32(_mm256_add_epi8(b4, b4), k),
             m);
}

// "。" A1 A3, "！" A3 A1, "？" A3 BF: at their first bytes.
VARNEL_AVX2 inline __m256i GbkFullWidthMarks32(__m256i b, __m256i n1) {
    __m256i m =
        _mm256_and_si256(_mm256_cmpeq_epi8(b, Byte32(0xA1)), _mm256_cmpeq_epi8(n1, Byte32(0xA3)));
    __m256i n1Mark =
        _mm256_or_si256(_mm256_cmpeq_epi8(n1, Byte32(0xA1)), _mm256_cmpeq_epi8(n1, Byte32(0xBF)));
    return _mm256_or_si256(m, _mm256_and_si256(_mm256_cmpeq_epi8(b, Byte32(0xA3)), n1Mark));
}

// "。" E3 80 82, "！" EF BC 81, "？" EF BC 9F: at their first bytes.
VARNEL_AVX2 inline __m256i Utf8FullWidthMarks32(__m256i b, __m256i n1, __m256i n2) {
    __m256i m =
        _mm256_and_si256(_mm256_cmpeq_epi8(b, Byte32(0xE3)), _mm256_cmpeq_epi8(n1, Byte32(0x80)));
    m = _mm256_and_si256(m, _mm256_cmpeq_epi8(n2, Byte32(0x82)));
    __m256i mEf =
        _mm256_and_si256(_mm256_cmpeq_epi8(b, Byte32(0xEF)), _mm256_cmpeq_epi8(n1, Byte32(0xBC)));
    __m256i n2Mark =
        _mm256_or_si256(_mm256_cmpeq_epi8(n2, Byte32(0x81)), _mm256_cmpeq_epi8(n2, Byte32(0x9F)));
    return _mm256_or_si256(m, _mm256_and_si256(mEf, n2Mark));
}

template <int kChunk>
VARNEL_AVX2 inline void ClassifyGbkChunk32(const unsigned char* p, BlockMasks& m) {
    __m256i b = Load32(p + 32 * kChunk), n1 = Load32(p + 32 * kChunk + 1);
    __m256i marks = SingleByteMarks32(b);
    m.nDots |= Bits32(DotsBeforeSpace32(b, n1), kChunk);
    if (uint64_t nHigh = Bits32(b, kChunk)) {
        m.nHigh |= nHigh;
        marks = _mm256_or_si256(marks, GbkFullWidthMarks32(b, n1));
    }
    m.nMarks |= Bits32(marks, kChunk);
}

template <int kChunk>
VARNEL_AVX2 inline void ClassifyUtf8Chunk32(const unsigned char* p, BlockMasks& m) {
    __m256i b = Load32(p + 32 * kChunk), n1 = Load32(p + 32 * kChunk + 1);
    __m256i marks = SingleByteMarks32(b);
    m.nDots |= Bits32(DotsBeforeSpace32(b, n1), kChunk);
    if (uint64_t nHigh = Bits32(b, kChunk)) {
        m.nHigh |= nHigh;
        marks = _mm256_or_si256(marks, Utf8FullWidthMarks32(b, n1, Load32(p + 32 * kChunk + 2)));
        AddLeads32(b, nHigh, kChunk, m);
    }
    m.nMarks |= Bits32(marks, kChunk);
}

VARNEL_AVX2 void ClassifyGbkAvx2(const unsigned char* p, size_t nWords, BlockMasks* masks) {
    for (size_t w = 0; w < nWords; ++w, p += kScanWord) {
        BlockMasks m = {};
        ClassifyGbkChunk32<0>(p, m);
        ClassifyGbkChunk32<1>(p, m);
        masks[w] = m;
    }
}

VARNEL_AVX2 void ClassifyUtf8Avx2(const unsigned char* p, size_t nWords, BlockMasks* masks) {
    for (size_t w = 0; w < nWords; ++w, p += kScanWord) {
        BlockMasks m = {};
        ClassifyUtf8Chunk32<0>(p, m);
        ClassifyUtf8Chunk32<1>(p, m);
        masks[w] = m;
    }
}

}  // namespace

SimdLevel BestSimdLevel() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? SimdLevel::kAvx2 : SimdLevel::kSse2;
}

void ClassifyGbkWords(SimdLevel level, const unsigned char* p, size_t nWords, BlockMasks* masks) {
    if (level == SimdLevel::kAvx2)
        ClassifyGbkAvx2(p, nWords, masks);
    else
        ClassifyGbkSse2(p, nWords, masks);
}

void ClassifyUtf8Words(SimdLevel level, const unsigned char* p, size_t nWords, BlockMasks* masks) {
    if (level == SimdLevel::kAvx2)
        ClassifyUtf8Avx2(p, nWords, masks);
    else
        ClassifyUtf8Sse2(p, nWords, masks);
}
