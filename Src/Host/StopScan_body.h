// The search for stop characters, written once for a vector V of kWidth
// bytes and compiled once per instruction set (StopScan_x86.cpp): the bytes
// at each position and the two after it are compared at once, and the
// results or'ed into one bit per position. The same tests as IsStopAt.
// Included inside a namespace of its own, where V and its operations are
// defined, with VARNEL_VECTOR_INLINE and VARNEL_VECTOR_TARGET naming the
// instruction set.

// The tests on each byte, from the instruction set's compare, unsigned
// maximum and minimum.
inline VARNEL_VECTOR_INLINE V Equal(V x, int c) { return Same(x, Set(c)); }
inline VARNEL_VECTOR_INLINE V InRange(V x, int nLow, int nHigh) {
    return And(Same(Max(x, Set(nLow)), x), Same(Min(x, Set(nHigh)), x));
}
inline VARNEL_VECTOR_INLINE V Masked(V x, int nMask, int c) { return Equal(And(x, Set(nMask)), c); }

inline VARNEL_VECTOR_INLINE V AsciiStops(V x) {
    V m = Or(Equal(x, '.'), Equal(x, '"'));
    m = Or(m, Or(Equal(x, '\r'), Equal(x, '\n')));
    m = Or(m, Masked(x, 0xFE, '('));  // ( )
    return Or(m, Or(Equal(x, '['), Equal(x, ']')));
}

// E2 80 98 99 9C 9D: ‘’“”; E3 80 88 to 95: 〈〉《》「」『』【】〒〓〔〕;
// EF BC 88 89 BB BD: （）［］.
inline VARNEL_VECTOR_INLINE V Utf8Stops(const char* p, V x0) {
    V x1 = Load(p + 1), x2 = Load(p + 2);
    V nSecond80 = Equal(x1, 0x80);
    V nCurly = And(And(Equal(x0, 0xE2), nSecond80), Masked(x2, 0xFA, 0x98));
    V nCjk = And(And(Equal(x0, 0xE3), nSecond80), InRange(x2, 0x88, 0x95));
    V nFull = Or(Masked(x2, 0xFE, 0x88), Or(Equal(x2, 0xBB), Equal(x2, 0xBD)));
    nFull = And(And(Equal(x0, 0xEF), Equal(x1, 0xBC)), nFull);
    return Or(nCurly, Or(nCjk, nFull));
}

// A1 AE to A1 BF: ‘’“”〔〕〈〉《》「」『』〖〗【】; A3 A8 A9 DB DD: （）［］.
inline VARNEL_VECTOR_INLINE V GbkStops(const char* p, V x0) {
    V x1 = Load(p + 1);
    V nA1 = And(Equal(x0, 0xA1), InRange(x1, 0xAE, 0xBF));
    V nA3 = Or(Masked(x1, 0xFE, 0xA8), Or(Equal(x1, 0xDB), Equal(x1, 0xDD)));
    return Or(nA1, And(Equal(x0, 0xA3), nA3));
}

inline VARNEL_VECTOR_INLINE uint64_t FindStops(const char* p, size_t i, size_t nLimit, int nEncode,
                                               uint64_t& nAscii) {
    uint64_t nStops = 0;
    nAscii = 0;
    // A window reads kWidth + 2 bytes: a character at its last position
    // reaches two further.
    // The later blocks of FindStopsWords may start at or past the limit.
    size_t nVector = nLimit > i && nLimit - i >= 64 + 2 ? 64 : 0;
    for (size_t k = 0; k < nVector; k += kWidth) {
        V x = Load(p + i + k);
        uint64_t nWindowAscii = ~MoveMask(x) & kAllBits;
        uint64_t nFound = MoveMask(AsciiStops(x));
        // A wide stop starts with a byte of 0x80 or above.
        if (nWindowAscii != kAllBits)
            nFound |= MoveMask(nEncode == 1 ? Utf8Stops(p + i + k, x) : GbkStops(p + i + k, x));
        nStops |= nFound << k;
        nAscii |= nWindowAscii << k;
    }
    if (nVector == 64) return nStops;
    return nStops | FindStopsOneByOne(p, i, nVector, nLimit, nEncode, nAscii);
}

// Several blocks in one call, so that the call and the constants it sets up
// are paid once for all of them.
inline VARNEL_VECTOR_TARGET void FindStopsWords(const char* p, size_t i, size_t nLimit, int nEncode,
                                                size_t nWords, uint64_t* pStops, uint64_t* pAscii) {
    for (size_t w = 0; w < nWords; ++w)
        pStops[w] = FindStops(p, i + 64 * w, nLimit, nEncode, pAscii[w]);
}
