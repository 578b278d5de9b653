#include "Hash.h"

#include <arpa/inet.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "Ascii.h"

namespace {

// The byte as the signed 8-bit value that the hashes of this file add.
int32_t SignedByte(const char* p) { return static_cast<signed char>(*p); }

uint8_t UnsignedByte(const char* p) { return static_cast<uint8_t>(*p); }

// The format's length in bytes for a value that has an encoding.
int CompressedLength(int iVal) {
    if (iVal <= 0x3F) return 1;
    if (iVal <= 0x3FFF) return 2;
    if (iVal <= 0x3FFFFF) return 3;
    return 4;
}

}  // namespace

unsigned int UrlHash(const char* pcUrl) {
    uint32_t h = 0;
    for (const char* p = pcUrl; *p; ++p) {
        h = (h << 4) + static_cast<uint32_t>(SignedByte(p));
        uint32_t g = h & 0xF0000000u;
        if (g) h ^= g >> 24;
        h &= ~g;
    }
    return h;
}

unsigned long ELFhash(const char* url) { return UrlHash(url); }

unsigned long _hf(const char* url) {
    int64_t nSum = 0;
    uint32_t i = 1;
    for (const char* p = url; *p; ++p, ++i) {
        // The product wraps at 32 bits; unsigned arithmetic keeps that defined.
        uint32_t nProduct = static_cast<uint32_t>(SignedByte(p)) * 3u * i;
        nSum += static_cast<int32_t>(nProduct);
    }
    return nSum < 0 ? 0ul - static_cast<unsigned long>(nSum) : static_cast<unsigned long>(nSum);
}

unsigned long Strhash(const char* str) {
    uint64_t h = 0;
    for (const char* p = str; *p; ++p) h = h * 31 + UnsignedByte(p);
    return h;
}

unsigned long HfIp(const char* url) {
    uint32_t h = 0;
    unsigned int k = 0;
    for (const char* p = url; *p; ++p, ++k)
        h ^= static_cast<uint32_t>(UnsignedByte(p)) << (8 * (k % 4));
    return h;
}

unsigned long Dorvelhash(const char* Url) {
    const size_t kWindow = 96;
    const size_t kLengthCap = 256;
    size_t nLen = strlen(Url);
    if (nLen == 0) return 0;
    uint64_t h = static_cast<uint64_t>((nLen < kLengthCap ? nLen : kLengthCap) - 1) << 24;
    const char* p = nLen <= kWindow ? Url : Url + (nLen - kWindow);
    for (uint64_t i = 1; *p; ++p, ++i) {
        uint64_t c = varnel::LowerAscii(UnsignedByte(p));
        h += (i * c * (3 * c + 5) + 7 * i + 11 * c) & 0xFFFFFFu;
    }
    return h;
}

int int_compress(int iVal, unsigned char* sVal) {
    if (iVal < 0 || iVal > 0x3FFFFFFF) return 0;
    int nLen = CompressedLength(iVal);
    uint32_t nValue = static_cast<uint32_t>(iVal);
    for (int k = nLen - 1; k >= 0; --k, nValue >>= 8) sVal[k] = static_cast<unsigned char>(nValue);
    sVal[0] |= static_cast<unsigned char>((nLen - 1) << 6);
    return nLen;
}

int int_uncompress(unsigned char* sVal, int* p_iVal) {
    int nLen = (sVal[0] >> 6) + 1;
    uint32_t nValue = sVal[0] & 0x3Fu;
    for (int k = 1; k < nLen; ++k) nValue = (nValue << 8) | sVal[k];
    *p_iVal = static_cast<int>(nValue);
    return nLen;
}

int WriteBuf(char** pBuf, int& nBufSize, int& nBufMaxSize, int nVal, bool bNet) {
    const int kSpare = 10;
    const int kGrowth = 1024;
    if (nBufSize < 0) return -1;
    uint32_t nValue = bNet ? htonl(static_cast<uint32_t>(nVal)) : static_cast<uint32_t>(nVal);
    if (static_cast<int64_t>(nBufMaxSize) < static_cast<int64_t>(nBufSize) + kSpare) {
        if (nBufSize > INT_MAX - kGrowth) return -1;
        int nNewMaxSize = nBufSize + kGrowth;
        char* pGrown = static_cast<char*>(realloc(*pBuf, static_cast<size_t>(nNewMaxSize)));
        if (!pGrown) return -1;
        *pBuf = pGrown;
        nBufMaxSize = nNewMaxSize;
    }
    memcpy(*pBuf + nBufSize, &nValue, sizeof nValue);
    nBufSize += static_cast<int>(sizeof nValue);
    return nBufSize;
}
