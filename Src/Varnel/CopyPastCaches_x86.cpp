// Streaming stores with SSE2, which every x86-64 processor has.
#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "CopyPastCaches.h"

namespace varnel {

void CopyPastCaches(char* pDest, const char* pSrc, size_t nBytes) {
    // Streaming stores need 16-byte aligned destinations.
    size_t nHead = (16 - reinterpret_cast<uintptr_t>(pDest) % 16) % 16;
    if (nHead > nBytes) nHead = nBytes;
    memcpy(pDest, pSrc, nHead);
    size_t n = nHead;
    for (; n + 64 <= nBytes; n += 64) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pSrc + n));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pSrc + n + 16));
        __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pSrc + n + 32));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pSrc + n + 48));
        _mm_stream_si128(reinterpret_cast<__m128i*>(pDest + n), a);
        _mm_stream_si128(reinterpret_cast<__m128i*>(pDest + n + 16), b);
        _mm_stream_si128(reinterpret_cast<__m128i*>(pDest + n + 32), c);
        _mm_stream_si128(reinterpret_cast<__m128i*>(pDest + n + 48), d);
    }
    memcpy(pDest + n, pSrc + n, nBytes - n);
    // Streaming stores are ordered with nothing else until fenced.
    _mm_sfence();
}

}  // namespace varnel
