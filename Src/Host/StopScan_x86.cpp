// The search for stop characters on x86-64: with AVX2 where the processor
// has it, else with SSE2, which every x86-64 processor has.
#include <immintrin.h>

#include <cstdint>

#include "StopScan.h"

namespace varnel_host {

// Each body is compiled for its instruction set by function attributes, which
// g++ and clang both take.
#define VARNEL_VECTOR_INLINE __attribute__((always_inline))
#define VARNEL_VECTOR_TARGET

namespace sse2 {

using V = __m128i;
constexpr size_t kWidth = 16;
constexpr uint64_t kAllBits = 0xFFFF;

inline VARNEL_VECTOR_INLINE V Load(const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline VARNEL_VECTOR_INLINE V Set(int c) { return _mm_set1_epi8(static_cast<char>(c)); }
inline VARNEL_VECTOR_INLINE V Same(V a, V b) { return _mm_cmpeq_epi8(a, b); }
inline VARNEL_VECTOR_INLINE V Max(V a, V b) { return _mm_max_epu8(a, b); }
inline VARNEL_VECTOR_INLINE V Min(V a, V b) { return _mm_min_epu8(a, b); }
inline VARNEL_VECTOR_INLINE V And(V a, V b) { return _mm_and_si128(a, b); }
inline VARNEL_VECTOR_INLINE V Or(V a, V b) { return _mm_or_si128(a, b); }
inline VARNEL_VECTOR_INLINE uint64_t MoveMask(V x) {
    return static_cast<uint32_t>(_mm_movemask_epi8(x));
}

#include "StopScan_body.h"

}  // namespace sse2

#undef VARNEL_VECTOR_INLINE
#undef VARNEL_VECTOR_TARGET
#define VARNEL_VECTOR_INLINE __attribute__((always_inline, target("avx2")))
#define VARNEL_VECTOR_TARGET __attribute__((target("avx2")))

namespace avx2 {

using V = __m256i;
constexpr size_t kWidth = 32;
constexpr uint64_t kAllBits = 0xFFFFFFFF;

inline VARNEL_VECTOR_INLINE V Load(const char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
// Every byte value broadcast to a vector. Built from a register, g++ sets
// the body's twenty-odd constants up again for each vector, since they do not
// all fit in registers; read from here they are operands of the compares.
// Not const: g++ would see through a constant table and build them again.
struct Broadcasts {
    alignas(32) uint8_t anBytes[256][kWidth];
};
constexpr Broadcasts MakeBroadcasts() {
    Broadcasts b = {};
    for (size_t c = 0; c < 256; ++c)
        for (size_t k = 0; k < kWidth; ++k) b.anBytes[c][k] = static_cast<uint8_t>(c);
    return b;
}
Broadcasts g_broadcasts = MakeBroadcasts();

inline VARNEL_VECTOR_INLINE V Set(int c) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(g_broadcasts.anBytes[c & 0xFF]));
}
inline VARNEL_VECTOR_INLINE V Same(V a, V b) { return _mm256_cmpeq_epi8(a, b); }
inline VARNEL_VECTOR_INLINE V Max(V a, V b) { return _mm256_max_epu8(a, b); }
inline VARNEL_VECTOR_INLINE V Min(V a, V b) { return _mm256_min_epu8(a, b); }
inline VARNEL_VECTOR_INLINE V And(V a, V b) { return _mm256_and_si256(a, b); }
inline VARNEL_VECTOR_INLINE V Or(V a, V b) { return _mm256_or_si256(a, b); }
inline VARNEL_VECTOR_INLINE uint64_t MoveMask(V x) {
    return static_cast<uint32_t>(_mm256_movemask_epi8(x));
}

#include "StopScan_body.h"

}  // namespace avx2

#undef VARNEL_VECTOR_INLINE
#undef VARNEL_VECTOR_TARGET

namespace {

using FindStopsWordsFunction = void (*)(const char*, size_t, size_t, int, size_t, uint64_t*,
                                        uint64_t*);

FindStopsWordsFunction BestFindStopsWords() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? avx2::FindStopsWords : sse2::FindStopsWords;
}

const FindStopsWordsFunction kFindStopsWords = BestFindStopsWords();

}  // namespace

void FindStopsWords(const char* p, size_t i, size_t nLimit, int nEncode, size_t nWords,
                    uint64_t* pStops, uint64_t* pAscii) {
    kFindStopsWords(p, i, nLimit, nEncode, nWords, pStops, pAscii);
}

}  // namespace varnel_host
