// The fast scan's byte classes on processors without the x86 vector
// instructions: the same masks, one byte at a time. The splitter runs the
// plain scan there (BestSimdLevel gives kScalar).
#include "FastScan.h"

namespace {

bool IsMark(int nEncode, const unsigned char* p) {
    unsigned char c = p[0], d = p[1];
    if (c == '?' || c == '!' || c == '\r' || c == '\n') return true;
    if (nEncode != 1) return (c == 0xA1 && d == 0xA3) || (c == 0xA3 && (d == 0xA1 || d == 0xBF));
    if (c == 0xE3) return d == 0x80 && p[2] == 0x82;
    return c == 0xEF && d == 0xBC && (p[2] == 0x81 || p[2] == 0x9F);
}

void Classify(int nEncode, const unsigned char* p, BlockMasks& masks) {
    masks = BlockMasks{};
    for (int k = 0; k < 64; ++k) {
        uint64_t nBit = uint64_t(1) << k;
        unsigned char c = p[k];
        if (c >= 0x80) masks.nHigh |= nBit;
        if (IsMark(nEncode, p + k)) masks.nMarks |= nBit;
        if (c == '.' && p[k + 1] == ' ') masks.nDots |= nBit;
        if (c >= 0xC0) masks.nLead2 |= nBit;
        if (c >= 0xE0) masks.nLead3 |= nBit;
        if (c >= 0xF0) masks.nLead4 |= nBit;
        if (c >= 0xF8) masks.nLead5 |= nBit;
    }
}

}  // namespace

SimdLevel BestSimdLevel() { return SimdLevel::kScalar; }

void ClassifyGbkBlock(SimdLevel, const unsigned char* p, BlockMasks& masks) {
    Classify(0, p, masks);
}

void ClassifyUtf8Block(SimdLevel, const unsigned char* p, BlockMasks& masks) {
    Classify(1, p, masks);
}
