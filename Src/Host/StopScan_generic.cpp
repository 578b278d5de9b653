// The search for stop characters one byte at a time, for processors without
// the x86 vector instructions.
#include "StopScan.h"

namespace varnel_host {

uint64_t FindStops(const char* p, size_t i, size_t nLimit, int nEncode, uint64_t& nAscii) {
    nAscii = 0;
    return FindStopsOneByOne(p, i, 0, nLimit, nEncode, nAscii);
}

}  // namespace varnel_host
