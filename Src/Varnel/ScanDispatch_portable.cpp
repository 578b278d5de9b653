// Which scan runs on a processor without the x86 vector instructions: the
// plain scan. The word classifier, the one copy of the classifier body this
// build has, is tested here at its level but not chosen: measured end to end
// on x86-64, it ran about 1.5 times the plain scan on English text but only
// 0.7 to 0.8 times on Chinese, where each 8 bytes cost some fifteen
// compares done by hand.
#include "ScanKernel.h"

namespace varnel {

SimdLevel BestSimdLevel() { return SimdLevel::kScalar; }

bool SimdLevelRuns(SimdLevel level) { return level <= SimdLevel::kWord; }

void ClassifyWords(SimdLevel, bool bUtf8, const unsigned char* p, size_t nWords,
                   BlockMasks* masks) {
    word::ClassifyWords(bUtf8, p, nWords, masks);
}

}  // namespace varnel
