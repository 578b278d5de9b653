// The fast scan's byte classes on x86-64: SSE2, which every x86-64 processor
// has, and AVX2, compiled for its own functions only and used when the
// processor reports it.
#include <emmintrin.h>
#include <immintrin.h>

#include "FastScan.h"

namespace {

// One bit per byte; SSE2 gives 16, AVX2 32, and four or two of them make a block.
inline uint64_t Bits16(__m128i v, int nChunk) {
    return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(v))) << (16 * nChunk);
}

// '?', '!', CR, LF.
inline __m128i SingleByteMarks(__m128i b) {
    __m128i m =
        _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('?')), _mm_cmpeq_epi8(b, _mm_set1_epi8('!')));
    m = _mm_or_si128(m, _mm_cmpeq_epi8(b, _mm_set1_epi8('\r')));
    return _mm_or_si128(m, _mm_cmpeq_epi8(b, _mm_set1_epi8('\n')));
}

inline __m128i DotsBeforeSpace(__m128i b, __m128i n1) {
    return _mm_and_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('.')),
                         _mm_cmpeq_epi8(n1, _mm_set1_epi8(' ')));
}

inline __m128i Byte(int c) { return _mm_set1_epi8(static_cast<char>(c)); }

// The top bit of each byte set when the byte is at least nFloor (0x80 or above).
inline __m128i AtLeast(__m128i b, int nFloor) { return _mm_subs_epu8(b, Byte(nFloor - 0x80)); }

void ClassifyGbkSse2(const unsigned char* p, BlockMasks& masks) {
    masks = BlockMasks{};
    for (int k = 0; k < 4; ++k) {
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        __m128i n1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k + 1));
        // "。" A1 A3, "！" A3 A1, "？" A3 BF
        __m128i bA3 = _mm_cmpeq_epi8(b, Byte(0xA3));
        __m128i full = _mm_and_si128(_mm_cmpeq_epi8(b, Byte(0xA1)), _mm_cmpeq_epi8(n1, Byte(0xA3)));
        full = _mm_or_si128(full, _mm_and_si128(bA3, _mm_or_si128(_mm_cmpeq_epi8(n1, Byte(0xA1)),
                                                                  _mm_cmpeq_epi8(n1, Byte(0xBF)))));
        masks.nHigh |= Bits16(b, k);
        masks.nMarks |= Bits16(_mm_or_si128(SingleByteMarks(b), full), k);
        masks.nDots |= Bits16(DotsBeforeSpace(b, n1), k);
    }
}

void ClassifyUtf8Sse2(const unsigned char* p, BlockMasks& masks) {
    masks = BlockMasks{};
    for (int k = 0; k < 4; ++k) {
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        __m128i n1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k + 1));
        __m128i n2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k + 2));
        // "。" E3 80 82, "！" EF BC 81, "？" EF BC 9F
        __m128i full = _mm_and_si128(_mm_cmpeq_epi8(b, Byte(0xE3)), _mm_cmpeq_epi8(n1, Byte(0x80)));
        full = _mm_and_si128(full, _mm_cmpeq_epi8(n2, Byte(0x82)));
        __m128i fullEf =
            _mm_and_si128(_mm_cmpeq_epi8(b, Byte(0xEF)), _mm_cmpeq_epi8(n1, Byte(0xBC)));
        fullEf = _mm_and_si128(
            fullEf, _mm_or_si128(_mm_cmpeq_epi8(n2, Byte(0x81)), _mm_cmpeq_epi8(n2, Byte(0x9F))));
        full = _mm_or_si128(full, fullEf);
        masks.nHigh |= Bits16(b, k);
        masks.nMarks |= Bits16(_mm_or_si128(SingleByteMarks(b), full), k);
        masks.nDots |= Bits16(DotsBeforeSpace(b, n1), k);
        masks.nLead2 |= Bits16(AtLeast(b, 0xC0), k);
        masks.nLead3 |= Bits16(AtLeast(b, 0xE0), k);
        masks.nLead4 |= Bits16(AtLeast(b, 0xF0), k);
        masks.nLead5 |= Bits16(AtLeast(b, 0xF8), k);
    }
}

#define VARNEL_AVX2 __attribute__((target("avx2")))

VARNEL_AVX2 inline uint64_t Bits32(__m256i v, int nChunk) {
    return static_cast<uint64_t>(static_cast<unsigned>(_mm256_movemask_epi8(v))) << (32 * nChunk);
}

VARNEL_AVX2 inline __m256i Byte32(int c) { return _mm256_set1_epi8(static_cast<char>(c)); }

VARNEL_AVX2 inline __m256i Load32(const unsigned char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// '?', '!', CR, LF by one table look-up: their low halves (F, 1, D, A) differ,
// so the table holds each mark at its low half and 0x80, which no byte below
// 0x80 equals, elsewhere; bytes of 0x80 and above look up 0.
VARNEL_AVX2 inline __m256i SingleByteMarks32(__m256i b) {
    const __m256i kTable = _mm256_setr_epi8(
        '\x80', '!', '\x80', '\x80', '\x80', '\x80', '\x80', '\x80', '\x80', '\x80', '\n', '\x80',
        '\x80', '\r', '\x80', '?', '\x80', '!', '\x80', '\x80', '\x80', '\x80', '\x80', '\x80',
        '\x80', '\x80', '\n', '\x80', '\x80', '\r', '\x80', '?');
    return _mm256_cmpeq_epi8(_mm256_shuffle_epi8(kTable, b), b);
}

VARNEL_AVX2 inline __m256i DotsBeforeSpace32(__m256i b, __m256i n1) {
    return _mm256_and_si256(_mm256_cmpeq_epi8(b, Byte32('.')), _mm256_cmpeq_epi8(n1, Byte32(' ')));
}

VARNEL_AVX2 inline __m256i AtLeast32(__m256i b, int nFloor) {
    return _mm256_subs_epu8(b, Byte32(nFloor - 0x80));
}

VARNEL_AVX2 void ClassifyGbkAvx2(const unsigned char* p, BlockMasks& masks) {
    masks = BlockMasks{};
    for (int k = 0; k < 2; ++k) {
        __m256i b = Load32(p + 32 * k);
        __m256i n1 = Load32(p + 32 * k + 1);
        // "。" A1 A3, "！" A3 A1, "？" A3 BF
        __m256i full = _mm256_and_si256(_mm256_cmpeq_epi8(b, Byte32(0xA1)),
                                        _mm256_cmpeq_epi8(n1, Byte32(0xA3)));
        __m256i fullA3 = _mm256_and_si256(_mm256_cmpeq_epi8(b, Byte32(0xA3)),
                                          _mm256_or_si256(_mm256_cmpeq_epi8(n1, Byte32(0xA1)),
                                                          _mm256_cmpeq_epi8(n1, Byte32(0xBF))));
        full = _mm256_or_si256(full, fullA3);
        masks.nHigh |= Bits32(b, k);
        masks.nMarks |= Bits32(_mm256_or_si256(SingleByteMarks32(b), full), k);
        masks.nDots |= Bits32(DotsBeforeSpace32(b, n1), k);
    }
}

VARNEL_AVX2 void ClassifyUtf8Avx2(const unsigned char* p, BlockMasks& masks) {
    masks = BlockMasks{};
    for (int k = 0; k < 2; ++k) {
        __m256i b = Load32(p + 32 * k);
        __m256i n1 = Load32(p + 32 * k + 1);
        __m256i n2 = Load32(p + 32 * k + 2);
        // "。" E3 80 82, "！" EF BC 81, "？" EF BC 9F
        __m256i full = _mm256_and_si256(_mm256_cmpeq_epi8(b, Byte32(0xE3)),
                                        _mm256_cmpeq_epi8(n1, Byte32(0x80)));
        full = _mm256_and_si256(full, _mm256_cmpeq_epi8(n2, Byte32(0x82)));
        __m256i fullEf = _mm256_and_si256(_mm256_cmpeq_epi8(b, Byte32(0xEF)),
                                          _mm256_cmpeq_epi8(n1, Byte32(0xBC)));
        fullEf = _mm256_and_si256(fullEf, _mm256_or_si256(_mm256_cmpeq_epi8(n2, Byte32(0x81)),
                                                          _mm256_cmpeq_epi8(n2, Byte32(0x9F))));
        full = _mm256_or_si256(full, fullEf);
        masks.nHigh |= Bits32(b, k);
        masks.nMarks |= Bits32(_mm256_or_si256(SingleByteMarks32(b), full), k);
        masks.nDots |= Bits32(DotsBeforeSpace32(b, n1), k);
        masks.nLead2 |= Bits32(AtLeast32(b, 0xC0), k);
        masks.nLead3 |= Bits32(AtLeast32(b, 0xE0), k);
        masks.nLead4 |= Bits32(AtLeast32(b, 0xF0), k);
        masks.nLead5 |= Bits32(AtLeast32(b, 0xF8), k);
    }
}

}  // namespace

SimdLevel BestSimdLevel() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? SimdLevel::kAvx2 : SimdLevel::kSse2;
}

void ClassifyGbkBlock(SimdLevel level, const unsigned char* p, BlockMasks& masks) {
    if (level == SimdLevel::kAvx2)
        ClassifyGbkAvx2(p, masks);
    else
        ClassifyGbkSse2(p, masks);
}

void ClassifyUtf8Block(SimdLevel level, const unsigned char* p, BlockMasks& masks) {
    if (level == SimdLevel::kAvx2)
        ClassifyUtf8Avx2(p, masks);
    else
        ClassifyUtf8Sse2(p, masks);
}
