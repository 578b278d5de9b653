// The fast scan's byte classifiers: one body (ScanKernel_body.h) compiled once
// per instruction set, each in its own namespace. The fast scan calls them
// through ClassifyWords, which the platform's dispatch file defines.
#ifndef VARNEL_VARNEL_SCANKERNEL_H
#define VARNEL_VARNEL_SCANKERNEL_H

#include <cstddef>
#include <cstdint>

#include "Scanner.h"

namespace varnel {

// What a classifier reports on 64 bytes. Bit k stands for p[k].
struct BlockMasks {
    uint64_t nHigh;   // bytes of 0x80 and above
    uint64_t nMarks;  // '?', '!', CR, LF, and the first bytes of the encoding's full-width marks
    uint64_t nDots;   // '.' followed by a space
    uint64_t nLead2;  // UTF-8 only: bytes of 0xC0 and above, which lead 2 bytes or more
    uint64_t nLead3;  // 0xE0 and above
    uint64_t nLead4;  // 0xF0 and above
    uint64_t nLead5;  // 0xF8 and above
};

// Fills masks[0..nWords) for the 64 * nWords bytes at p, at a level above
// kScalar that SimdLevelRuns; the two bytes after them must be readable.
void ClassifyWords(SimdLevel level, bool bUtf8, const unsigned char* p, size_t nWords,
                   BlockMasks* masks);

// The entry points of each instruction set's copy of the body; sse2 and avx2
// are built on x86-64 only.
namespace word {
void ClassifyWords(bool bUtf8, const unsigned char* p, size_t nWords, BlockMasks* masks);
}
namespace sse2 {
void ClassifyWords(bool bUtf8, const unsigned char* p, size_t nWords, BlockMasks* masks);
}
namespace avx2 {
void ClassifyWords(bool bUtf8, const unsigned char* p, size_t nWords, BlockMasks* masks);
}

}  // namespace varnel

#endif
