// The splitter's fast scan: sentence ends found 64 bytes at a time with SIMD,
// giving byte for byte the results of the plain scan (ScanSentenceEnd).
//
// A block starts on a character boundary. In it, one bit per byte marks the
// first bytes of end marks, the '.'s that a blank follows and the bytes of
// characters longer than one byte. GBK character boundaries come from the runs
// of bytes of 0x80 and above: a run pairs up from its start, and a run of odd
// length swallows the byte after it. UTF-8 boundaries come from the lead
// bytes; a block whose lead and continuation bytes do not match up is scanned
// by the plain scan instead.
#ifndef VARNEL_VARNEL_FASTSCAN_H
#define VARNEL_VARNEL_FASTSCAN_H

#include <cstddef>
#include <cstdint>

// Instruction sets the scan can use.
enum class SimdLevel { kScalar, kSse2, kAvx2 };

// The best level that this processor runs.
SimdLevel BestSimdLevel();

// The last block scanned, kept so that the sentences that start inside it need
// no second look at its bytes. Bit k stands for the byte pBase[k].
struct ScanBlock {
    SimdLevel level = SimdLevel::kScalar;
    const char* pBase = nullptr;  // a character boundary
    size_t nLen = 0;              // bytes covered; 0 when nothing is kept
    uint64_t nEnds = 0;           // first bytes of marks that end a sentence
    uint64_t nDots = 0;           // '.' before a blank: ends an all-single-byte sentence
    uint64_t nMultiByte = 0;      // bytes of characters longer than one byte
};

// ScanSentenceEnd's result for sText[0..nSize), found at block.level. sText
// must start on a character boundary. The bytes that block covers must be
// unchanged since it was filled: set block.nLen to 0 whenever the text
// changes. No byte beyond sText[nSize] is read.
size_t ScanSentenceEndFast(const char* sText, size_t nSize, int nEncode, ScanBlock& block);

// What the processor-specific code reports on the 64 bytes at p; the two bytes
// after them must be readable. Bit k stands for p[k].
struct BlockMasks {
    uint64_t nHigh;   // bytes of 0x80 and above
    uint64_t nMarks;  // '?', '!', CR, LF, and the first bytes of the encoding's full-width marks
    uint64_t nDots;   // '.' followed by a space
    uint64_t nLead2;  // UTF-8 only: bytes of 0xC0 and above, which lead 2 bytes or more
    uint64_t nLead3;  // 0xE0 and above
    uint64_t nLead4;  // 0xF0 and above
    uint64_t nLead5;  // 0xF8 and above
};

// Fill masks for the 64 bytes at p at the given level (kSse2 or kAvx2).
void ClassifyGbkBlock(SimdLevel level, const unsigned char* p, BlockMasks& masks);
void ClassifyUtf8Block(SimdLevel level, const unsigned char* p, BlockMasks& masks);

#endif
