#include "StopScan.h"

#include <cstdint>

namespace varnel_host {

bool IsStopAt(const char* p, size_t i, size_t nLimit, int nEncode) {
    unsigned char c = static_cast<unsigned char>(p[i]);
    switch (c) {
        case '.':
        case '\r':
        case '\n':
        case '"':
        case '(':
        case ')':
        case '[':
        case ']':
            return true;
        default:
            break;
    }
    size_t nLen = nEncode == 1 ? 3 : 2;
    if (c < 0x80 || nLimit - i < nLen) return false;
    unsigned char c1 = static_cast<unsigned char>(p[i + 1]);
    if (nEncode != 1) {
        // A1 AE to A1 BF: ‘’“”〔〕〈〉《》「」『』〖〗【】; A3 A8 A9 DB DD: （）［］.
        if (c == 0xA1) return c1 >= 0xAE && c1 <= 0xBF;
        return c == 0xA3 && ((c1 & 0xFE) == 0xA8 || c1 == 0xDB || c1 == 0xDD);
    }
    unsigned char c2 = static_cast<unsigned char>(p[i + 2]);
    // E2 80 98 99 9C 9D: ‘’“”; E3 80 88 to 95: 〈〉《》「」『』【】〒〓〔〕;
    // EF BC 88 89 BB BD: （）［］.
    if (c == 0xE2) return c1 == 0x80 && (c2 & 0xFA) == 0x98;
    if (c == 0xE3) return c1 == 0x80 && c2 >= 0x88 && c2 <= 0x95;
    return c == 0xEF && c1 == 0xBC && ((c2 & 0xFE) == 0x88 || c2 == 0xBB || c2 == 0xBD);
}

uint64_t FindStops(const char* p, size_t i, size_t nLimit, int nEncode, uint64_t& nAscii) {
    uint64_t nStops;
    FindStopsWords(p, i, nLimit, nEncode, 1, &nStops, &nAscii);
    return nStops;
}

uint64_t FindStopsOneByOne(const char* p, size_t i, size_t k, size_t nLimit, int nEncode,
                           uint64_t& nAscii) {
    uint64_t nStops = 0;
    for (; k < 64 && i + k < nLimit; ++k) {
        if (IsStopAt(p, i + k, nLimit, nEncode)) nStops |= uint64_t(1) << k;
        if (static_cast<unsigned char>(p[i + k]) < 0x80) nAscii |= uint64_t(1) << k;
    }
    return nStops;
}

}  // namespace varnel_host
