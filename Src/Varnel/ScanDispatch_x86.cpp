// Which classifier runs on x86-64: AVX2 when the processor reports it, else
// SSE2, which every x86-64 processor has. The word classifier is built and
// tested here too but never chosen, being the slowest.
#include "ScanKernel.h"

namespace varnel {

SimdLevel BestSimdLevel() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? SimdLevel::kAvx2 : SimdLevel::kSse2;
}

bool SimdLevelRuns(SimdLevel level) { return level <= BestSimdLevel(); }

void ClassifyWords(SimdLevel level, bool bUtf8, const unsigned char* p, size_t nWords,
                   BlockMasks* masks) {
    switch (level) {
        case SimdLevel::kAvx2:
            return avx2::ClassifyWords(bUtf8, p, nWords, masks);
        case SimdLevel::kSse2:
            return sse2::ClassifyWords(bUtf8, p, nWords, masks);
        default:
            return word::ClassifyWords(bUtf8, p, nWords, masks);
    }
}

}  // namespace varnel
