// The classifier on any 64-bit processor: a vector of 8 bytes in one
// register, compared a word at a time with carries kept inside each byte.
#include <cstring>

#include "ScanKernel.h"
#include "ScanRules.h"
#include "ScanKernel_body.h"

namespace varnel {
namespace {

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
constexpr uint64_t kTops = 0x8080808080808080ULL;

struct Word {
    using Vec = uint64_t;
    static constexpr unsigned kWidth = 8;
    static constexpr bool kNibbleLookup = false;

    // Byte k of the text is byte k of the vector, counted from the low end.
    static Vec Load(const unsigned char* p) {
        uint64_t v;
        memcpy(&v, p, sizeof v);
        if constexpr (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__) v = __builtin_bswap64(v);
        return v;
    }
    // A byte of t is zero exactly when adding 0x7F to its low seven bits
    // leaves the top bit clear and its own top bit is clear; no carry
    // crosses into the next byte.
    static Vec Eq(Vec b, unsigned char c) {
        uint64_t t = b ^ (kOnes * c);
        uint64_t nNonZero = ((t & kLow7) + kLow7) | t;
        return ~nNonZero & kTops;
    }
    static Vec And(Vec a, Vec b) { return a & b; }
    static Vec Or(Vec a, Vec b) { return a | b; }
    static Vec Double(Vec b) { return (b & kLow7) << 1; }
    // The top bits, one per byte at bits 7, 15, ..., 63, gathered into bits
    // 56-63 by one multiplication (each lands on a bit of its own), then
    // moved down.
    static uint64_t Bits(Vec b) { return (((b & kTops) >> 7) * 0x0102040810204080ULL) >> 56; }
};

}  // namespace
}  // namespace varnel

void varnel::word::ClassifyWords(bool bUtf8, const unsigned char* p, size_t nWords,
                                 BlockMasks* masks) {
    ClassifyWordsWith<Word>(bUtf8, p, nWords, masks);
}
