// The classifier with SSE2, which every x86-64 processor has.
#include <emmintrin.h>

#include "ScanKernel.h"
#include "ScanRules.h"
#include "ScanKernel_body.h"

namespace varnel {
namespace {

struct Sse2 : VectorOps<16> {
    static constexpr bool kNibbleLookup = false;  // the byte shuffle came with SSSE3

    static uint64_t Bits(Vec b) {
        return static_cast<unsigned>(_mm_movemask_epi8(reinterpret_cast<__m128i>(b)));
    }
};

}  // namespace
}  // namespace varnel

void varnel::sse2::ClassifyWords(bool bUtf8, const unsigned char* p, size_t nWords,
                                 BlockMasks* masks) {
    // Half a word at a time: a whole word's four vectors ran to more
    // instructions for GBK and hardly fewer for UTF-8.
    ClassifyWordsWith<Wide<Sse2, 2>>(bUtf8, p, nWords, masks);
}
