#include "FastScan.h"

#include "Sentences.h"

namespace {

constexpr size_t kBlock = 64;

// A block is scanned only when the two bytes after it lie inside the text or
// on its terminator. So no load reaches beyond the terminator, and the last
// byte of the text, where a character may be cut short, is left to the plain
// scan.
inline bool BlockFits(size_t nPos, size_t nSize) { return nPos + kBlock + 1 <= nSize; }

inline uint64_t BitsBelow(size_t n) { return n >= 64 ? ~uint64_t(0) : (uint64_t(1) << n) - 1; }

// GBK: the bytes that are the second byte of a pair. A run of high bytes
// starts on a character boundary and pairs up from its start, so a byte is a
// second byte exactly when an odd number of high bytes stands right before
// it. Runs that start on odd bits are carried through by one addition, which
// flips the parity that the alternating pattern gives them.
inline uint64_t SecondBytes(uint64_t nHigh) {
    const uint64_t kEvenBits = 0x5555555555555555ULL;
    uint64_t nFollowsHigh = nHigh << 1;
    uint64_t nOddStarts = nHigh & ~kEvenBits & ~nFollowsHigh;
    uint64_t nEvenRuns = nOddStarts + nHigh;  // runs that started on odd bits are cleared
    return (kEvenBits ^ (nEvenRuns << 1)) & nFollowsHigh;
}

void FinishGbkBlock(const BlockMasks& masks, ScanBlock& block) {
    uint64_t nSecond = SecondBytes(masks.nHigh);
    uint64_t nLead = masks.nHigh & ~nSecond;
    // A lead byte last in the block pairs with the first byte after it; the
    // next block starts at that lead.
    block.nLen = kBlock - static_cast<size_t>(nLead >> 63);
    uint64_t nKeep = BitsBelow(block.nLen) & ~nSecond;
    block.nEnds = masks.nMarks & nKeep;
    block.nDots = masks.nDots & nKeep;
    block.nMultiByte = masks.nHigh;
}

// False when lead and continuation bytes do not match up in the block, which
// is then left to the plain scan.
bool FinishUtf8Block(const BlockMasks& masks, ScanBlock& block) {
    uint64_t nContinuation = masks.nHigh & ~masks.nLead2;
    uint64_t nWanted = (masks.nLead2 << 1) | (masks.nLead3 << 2) | (masks.nLead4 << 3);
    if ((nWanted ^ nContinuation) | masks.nLead5) return false;
    // A character cut by the end of the block is left whole to the next one.
    size_t nCut = 0;
    if (masks.nLead2 >> 63)
        nCut = 1;
    else if ((masks.nLead3 >> 62) & 1)
        nCut = 2;
    else if ((masks.nLead4 >> 61) & 1)
        nCut = 3;
    block.nLen = kBlock - nCut;
    uint64_t nKeep = BitsBelow(block.nLen);
    block.nEnds = masks.nMarks & nKeep;
    block.nDots = masks.nDots & nKeep;
    block.nMultiByte = masks.nHigh;
    return true;
}

bool FillBlock(const char* pBase, int nEncode, ScanBlock& block) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(pBase);
    BlockMasks masks;
    block.pBase = pBase;
    if (nEncode == 1) {
        ClassifyUtf8Block(block.level, p, masks);
        if (FinishUtf8Block(masks, block)) return true;
        block.nLen = 0;
        return false;
    }
    ClassifyGbkBlock(block.level, p, masks);
    FinishGbkBlock(masks, block);
    return true;
}

// Looks for the sentence end in the kept block from byte nOff on. Returns the
// length from pBase + nOff to the cut, or kNoSentenceEnd with bEnglish
// updated for the whole rest of the block.
size_t FindInBlock(const ScanBlock& block, size_t nOff, int nEncode, bool& bEnglish) {
    uint64_t nMultiByte = block.nMultiByte >> nOff;
    // A '.' counts only before the sentence's first character of two bytes or more.
    uint64_t nEnglish = bEnglish ? (nMultiByte & (0 - nMultiByte)) - 1 : 0;
    uint64_t nHits = (block.nEnds >> nOff) | ((block.nDots >> nOff) & nEnglish);
    if (!nHits) {
        bEnglish = bEnglish && nMultiByte == 0;
        return kNoSentenceEnd;
    }
    size_t nAt = static_cast<size_t>(__builtin_ctzll(nHits));
    unsigned char c = static_cast<unsigned char>(block.pBase[nOff + nAt]);
    size_t nMarkLen = c < 0x80 ? 1 : nEncode == 1 ? 3 : 2;
    return nAt + nMarkLen;
}

bool InBlock(const ScanBlock& block, const char* p) {
    uintptr_t nBase = reinterpret_cast<uintptr_t>(block.pBase);
    uintptr_t nAt = reinterpret_cast<uintptr_t>(p);
    return nAt >= nBase && nAt - nBase < block.nLen;
}

}  // namespace

size_t ScanSentenceEndFast(const char* sText, size_t nSize, int nEncode, ScanBlock& block) {
    if (block.level == SimdLevel::kScalar) return ScanSentenceEnd(sText, nSize, nEncode);
    size_t nPos = 0;
    bool bEnglish = true;
    if (InBlock(block, sText)) {
        size_t nOff = static_cast<size_t>(sText - block.pBase);
        size_t nEnd = FindInBlock(block, nOff, nEncode, bEnglish);
        if (nEnd != kNoSentenceEnd) return nEnd;
        nPos = block.nLen - nOff;
    }
    while (BlockFits(nPos, nSize)) {
        if (!FillBlock(sText + nPos, nEncode, block)) {
            size_t nEnd = ResumeSentenceScan(sText, nSize, nEncode, nPos, bEnglish, nPos + kBlock);
            if (nEnd != kNoSentenceEnd) return nEnd;
            continue;
        }
        size_t nEnd = FindInBlock(block, 0, nEncode, bEnglish);
        if (nEnd != kNoSentenceEnd) return nPos + nEnd;
        nPos += block.nLen;
    }
    return ResumeSentenceScan(sText, nSize, nEncode, nPos, bEnglish, nSize);
}
