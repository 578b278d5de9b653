// The classifier with AVX2. Only this file's functions are compiled for AVX2,
// and the splitter calls them only when the processor reports it. Every
// header is included before the switch, so that no inline function of a
// header is compiled here for AVX2 and then picked by the linker for callers
// on processors without it.
#include <immintrin.h>

#include "ScanKernel.h"
#include "ScanRules.h"

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "ScanKernel_body.h"

namespace varnel {
namespace {

struct Avx2 : VectorOps<32> {
    static constexpr bool kNibbleLookup = true;

    static uint64_t Bits(Vec b) {
        return static_cast<unsigned>(_mm256_movemask_epi8(reinterpret_cast<__m256i>(b)));
    }
    static Vec Abs(Vec b) {
        return reinterpret_cast<Vec>(_mm256_abs_epi8(reinterpret_cast<__m256i>(b)));
    }
    static Vec LookUp(const unsigned char* pTable, Vec b) {
        __m256i table = _mm256_load_si256(reinterpret_cast<const __m256i*>(pTable));
        return reinterpret_cast<Vec>(_mm256_shuffle_epi8(table, reinterpret_cast<__m256i>(b)));
    }
};

}  // namespace
}  // namespace varnel

void varnel::avx2::ClassifyWords(bool bUtf8, const unsigned char* p, size_t nWords,
                                 BlockMasks* masks) {
    // Two vectors make a word.
    ClassifyWordsWith<Wide<Avx2, 2>>(bUtf8, p, nWords, masks);
}

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
