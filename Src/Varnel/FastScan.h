// The splitter's fast scan: sentence ends found with SIMD a window of up to
// 512 bytes at a time, giving byte for byte the results of the plain scan
// (ScanSentenceEnd).
//
// A window starts on a character boundary. In it, one bit per byte marks the
// first bytes of end marks, the '.'s that a blank follows and the bytes of
// characters longer than one byte; from these follow the sentence ends. GBK
// character boundaries come from the runs of bytes of 0x80 and above: a run
// pairs up from its start, and a run of odd length swallows the byte after
// it. UTF-8 boundaries come from the lead bytes; where lead and continuation
// bytes do not match up, the window stops and the plain scan takes over for
// the next 64 bytes.
#ifndef VARNEL_VARNEL_FASTSCAN_H
#define VARNEL_VARNEL_FASTSCAN_H

#include <cstddef>
#include <cstdint>

// Instruction sets the scan can use.
enum class SimdLevel { kScalar, kSse2, kAvx2 };

// The best level that this processor runs.
SimdLevel BestSimdLevel();

// A window is read as words of 64 bytes, one bit per byte, up to 512 bytes.
constexpr size_t kScanWord = 64;
constexpr size_t kScanWindowWords = 8;

// The last window scanned, kept so that the sentences that start inside it
// need no second look at its bytes: the sentence ends in it, in order, with
// the '.' rule already applied, since the window's sentences follow one
// another from the sentence that was in progress where the window begins.
struct ScanBlock {
    static constexpr size_t kMaxCuts = kScanWord * kScanWindowWords;

    SimdLevel level = SimdLevel::kScalar;
    const char* pBase = nullptr;      // a character boundary
    size_t nLen = 0;                  // bytes covered; 0 when nothing is kept
    bool bEnglishAtEnd = true;        // every character since the last end is one byte long
    size_t nCuts = 0;                 // sentence ends found in the window
    size_t nNextCut = 0;              // the first of them that no call has returned yet
    uint16_t anCutAt[kMaxCuts] = {};  // where each cut falls, behind its mark, from pBase
};

// ScanSentenceEnd's result for sText[0..nSize), found at block.level. sText
// must start on a character boundary. A kept block is used only where the
// splitter goes on: sText lies behind the last sentence end found in it, with
// nothing but blanks between; and the bytes it covers are unchanged since it
// was filled. Set block.nLen to 0 whenever the text changes. No byte beyond
// sText[nSize] is read.
size_t ScanSentenceEndFast(const char* sText, size_t nSize, int nEncode, ScanBlock& block);

// What the processor-specific code reports on 64 bytes. Bit k stands for p[k].
struct BlockMasks {
    uint64_t nHigh;   // bytes of 0x80 and above
    uint64_t nMarks;  // '?', '!', CR, LF, and the first bytes of the encoding's full-width marks
    uint64_t nDots;   // '.' followed by a space
    uint64_t nLead2;  // UTF-8 only: bytes of 0xC0 and above, which lead 2 bytes or more
    uint64_t nLead3;  // 0xE0 and above
    uint64_t nLead4;  // 0xF0 and above
    uint64_t nLead5;  // 0xF8 and above
};

// Fill masks[0..nWords) for the 64 * nWords bytes at p at the given level
// (kSse2 or kAvx2); the two bytes after them must be readable.
void ClassifyGbkWords(SimdLevel level, const unsigned char* p, size_t nWords, BlockMasks* masks);
void ClassifyUtf8Words(SimdLevel level, const unsigned char* p, size_t nWords, BlockMasks* masks);

#endif
