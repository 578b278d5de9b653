// The search for stop characters one byte at a time, for processors without
// the x86 vector instructions.
#include "StopScan.h"

namespace varnel_host {

void FindStopsWords(const char* p, size_t i, size_t nLimit, int nEncode, size_t nWords,
                    uint64_t* pStops, uint64_t* pAscii) {
    for (size_t w = 0; w < nWords; ++w) {
        pAscii[w] = 0;
        pStops[w] = FindStopsOneByOne(p, i + 64 * w, 0, nLimit, nEncode, pAscii[w]);
    }
}

}  // namespace varnel_host
