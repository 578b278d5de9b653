// The fast scan's byte classifier, written once for every instruction set.
// Each ScanKernel_<isa>.cpp includes this, then defines its vector type V and
// instantiates the body with it, so that the body is compiled there for that
// instruction set alone (with internal linkage: no copy can stand in for
// another at link time). SSE2 and AVX2 take all but Bits and LookUp from
// VectorOps, the compilers' vector extensions, and join their vectors into
// wider ones with Wide; the word classifier writes its own.
//
// V, the instruction set's operations on a vector of V::kWidth bytes:
//   Vec Load(p)            kWidth bytes from p, unaligned
//   Vec Eq(b, c)           each byte of b that equals c, as a byte of all ones
//   Vec And(a, b), Or(a, b)
//   Vec Double(b)          each byte times two, modulo 256: moves bit 6 to the top
//   uint64_t Bits(b)       the top bit of each byte, byte k at bit k
//   kNibbleLookup          true when the set has a 16-entry byte table look-up,
//                          and then also:
//   Vec LookUp(table, b)   table[b & 15] for bytes below 0x80, 0 for the others
//                          (table: 16 bytes, twice)
//   Vec Abs(b)             each byte's magnitude as a signed byte (0x80 stays)
//   Vec Same(a, b)         each byte where a and b are equal
//
// Nothing here includes a header: the including file has included them
// before it switched the instruction set.
#ifndef VARNEL_VARNEL_SCANKERNEL_BODY_H
#define VARNEL_VARNEL_SCANKERNEL_BODY_H

namespace varnel {
namespace {

// Every byte value repeated over kWidth bytes: the constants Eq compares
// against, read from memory, where the compiler may keep them or load them
// again as registers allow.
template <unsigned kWidth>
struct ByteSplats {
    alignas(kWidth) unsigned char a[256][kWidth];
};

template <unsigned kWidth>
constexpr ByteSplats<kWidth> MakeByteSplats() {
    ByteSplats<kWidth> t{};
    for (int c = 0; c < 256; ++c)
        for (unsigned char& b : t.a[c]) b = static_cast<unsigned char>(c);
    return t;
}

template <unsigned kWidth>
constexpr ByteSplats<kWidth> kByteSplats = MakeByteSplats<kWidth>();

// The operations that the compilers' vector extensions give alike for any
// width; an instruction set adds Bits and, where it has one, the nibble look-up.
template <unsigned kVectorWidth>
struct VectorOps {
    typedef unsigned char Vec __attribute__((vector_size(kVectorWidth)));
    static constexpr unsigned kWidth = kVectorWidth;

    static Vec Load(const unsigned char* p) {
        Vec v;
        __builtin_memcpy(&v, p, sizeof v);
        return v;
    }
    static Vec Splat(unsigned char c) {
        return *reinterpret_cast<const Vec*>(kByteSplats<kWidth>.a[c]);
    }
    static Vec Same(Vec a, Vec b) { return reinterpret_cast<Vec>(a == b); }
    static Vec Eq(Vec b, unsigned char c) { return Same(b, Splat(c)); }
    static Vec Double(Vec b) { return b + b; }
    static Vec And(Vec a, Vec b) { return a & b; }
    static Vec Or(Vec a, Vec b) { return a | b; }
};

// kCount vectors of V side by side, taken as one vector of kCount times the
// width: the classifier then asks once for all of them whether they hold
// bytes of 0x80 and above, and joins the parts of each mask once.
template <class V, unsigned kCount>
struct Wide {
    struct Vec {
        typename V::Vec a[kCount];
    };
    static constexpr unsigned kWidth = V::kWidth * kCount;
    static constexpr bool kNibbleLookup = V::kNibbleLookup;

    static Vec Load(const unsigned char* p) {
        Vec r;
#pragma GCC unroll 4
        for (unsigned k = 0; k < kCount; ++k) r.a[k] = V::Load(p + k * V::kWidth);
        return r;
    }
    static uint64_t Bits(const Vec& b) {
        uint64_t n = 0;
#pragma GCC unroll 4
        for (unsigned k = 0; k < kCount; ++k) n |= V::Bits(b.a[k]) << (k * V::kWidth);
        return n;
    }
    static Vec Eq(const Vec& b, unsigned char c) {
        Vec r;
#pragma GCC unroll 4
        for (unsigned k = 0; k < kCount; ++k) r.a[k] = V::Eq(b.a[k], c);
        return r;
    }
    static Vec LookUp(const unsigned char* pTable, const Vec& b) {
        Vec r;
#pragma GCC unroll 4
        for (unsigned k = 0; k < kCount; ++k) r.a[k] = V::LookUp(pTable, b.a[k]);
        return r;
    }
    static Vec Abs(const Vec& b) { return Each<&V::Abs>(b); }
    static Vec Double(const Vec& b) { return Each<&V::Double>(b); }
    static Vec Same(const Vec& a, const Vec& b) { return Each<&V::Same>(a, b); }
    static Vec And(const Vec& a, const Vec& b) { return Each<&V::And>(a, b); }
    static Vec Or(const Vec& a, const Vec& b) { return Each<&V::Or>(a, b); }

  private:
    template <typename V::Vec (*fOp)(typename V::Vec)>
    static Vec Each(const Vec& b) {
        Vec r;
#pragma GCC unroll 4
        for (unsigned k = 0; k < kCount; ++k) r.a[k] = fOp(b.a[k]);
        return r;
    }
    template <typename V::Vec (*fOp)(typename V::Vec, typename V::Vec)>
    static Vec Each(const Vec& a, const Vec& b) {
        Vec r;
#pragma GCC unroll 4
        for (unsigned k = 0; k < kCount; ++k) r.a[k] = fOp(a.a[k], b.a[k]);
        return r;
    }
};

// '?', '!', CR and LF differ in their low four bits, so each can stand at its
// low four bits in one 16-byte table; 0x80, which no byte below 0x80 equals,
// fills the rest. The table is written twice, for look-ups in both 16-byte
// lanes of a 32-byte vector.
struct NibbleTable {
    alignas(32) unsigned char a[32];
};

constexpr NibbleTable MakeSingleByteMarkTable() {
    NibbleTable t{};
    for (unsigned char& c : t.a) c = 0x80;
    for (unsigned char c : kSingleByteMarks) t.a[c & 15] = t.a[16 + (c & 15)] = c;
    return t;
}

constexpr bool SingleByteMarksFitTheTable() {
    NibbleTable t = MakeSingleByteMarkTable();
    for (unsigned char c : kSingleByteMarks)
        if (t.a[c & 15] != c || c >= 0x80) return false;
    return true;
}
static_assert(SingleByteMarksFitTheTable(), "two single-byte marks share their low four bits");

constexpr NibbleTable kSingleByteMarkTable = MakeSingleByteMarkTable();

template <class V>
inline typename V::Vec SingleByteMarks(typename V::Vec b) {
    if constexpr (V::kNibbleLookup) {
        return V::Same(V::LookUp(kSingleByteMarkTable.a, b), b);
    } else {
        typename V::Vec m = V::Eq(b, kSingleByteMarks[0]);
#pragma GCC unroll 8
        for (size_t k = 1; k < sizeof kSingleByteMarks; ++k)
            m = V::Or(m, V::Eq(b, kSingleByteMarks[k]));
        return m;
    }
}

// Where one full-width mark of N bytes starts: bytes[j] holds the text moved
// on by j bytes. The loops over the marks are unrolled so that each mark byte
// is a constant of the code, not a load from the table.
template <class V, size_t N>
inline typename V::Vec StartsOfMark(const unsigned char (&mark)[N],
                                    const typename V::Vec (&bytes)[N]) {
    typename V::Vec m = V::Eq(bytes[0], mark[0]);
#pragma GCC unroll 4
    for (size_t j = 1; j < N; ++j) m = V::And(m, V::Eq(bytes[j], mark[j]));
    return m;
}

// With a nibble look-up, a mark's last byte, different in its low four bits
// for every mark of an encoding, picks from table j the byte that must stand
// j bytes ahead of the mark's start: N look-ups and compares in place of a
// compare for each byte of each mark. Abs brings the last bytes, all of 0x81
// and above, below 0x80 where the look-up reads them, with no constant to
// mask them by; it turns their low four bits i into (16 - i) & 15, the slot.
template <size_t N>
struct MarkTables {
    NibbleTable a[N];
};

constexpr unsigned SlotOfLastByte(unsigned char c) { return (256 - c) & 15; }

template <size_t nMarks, size_t N>
constexpr MarkTables<N> MakeMarkTables(const unsigned char (&marks)[nMarks][N]) {
    MarkTables<N> t{};
    // A slot no mark takes: a byte below 0x10 of other low bits, which only
    // a byte that picks another slot equals.
    for (unsigned i = 0; i < 16; ++i)
        t.a[N - 1].a[i] = t.a[N - 1].a[16 + i] = static_cast<unsigned char>(i ^ 1);
    for (const auto& mark : marks) {
        unsigned nSlot = SlotOfLastByte(mark[N - 1]);
        for (size_t j = 0; j < N; ++j) t.a[j].a[nSlot] = t.a[j].a[16 + nSlot] = mark[j];
    }
    return t;
}

template <size_t nMarks, size_t N>
constexpr bool LastBytesFitTheTables(const unsigned char (&marks)[nMarks][N]) {
    for (size_t i = 0; i < nMarks; ++i) {
        if (marks[i][N - 1] <= 0x80) return false;
        for (size_t k = 0; k < i; ++k)
            if (SlotOfLastByte(marks[i][N - 1]) == SlotOfLastByte(marks[k][N - 1])) return false;
    }
    return true;
}
static_assert(LastBytesFitTheTables(kGbkMarks) && LastBytesFitTheTables(kUtf8Marks),
              "a full-width mark ends below 0x81, or two end in the same low four bits");

constexpr MarkTables<2> kGbkMarkTables = MakeMarkTables(kGbkMarks);
constexpr MarkTables<3> kUtf8MarkTables = MakeMarkTables(kUtf8Marks);

template <class V, size_t nMarks, size_t N>
inline typename V::Vec StartsOfMarks(const unsigned char (&marks)[nMarks][N],
                                     const MarkTables<N>& tables,
                                     const typename V::Vec (&bytes)[N]) {
    if constexpr (V::kNibbleLookup) {
        typename V::Vec slots = V::Abs(bytes[N - 1]);
        typename V::Vec m = V::Same(V::LookUp(tables.a[0].a, slots), bytes[0]);
#pragma GCC unroll 4
        for (size_t j = 1; j < N; ++j)
            m = V::And(m, V::Same(V::LookUp(tables.a[j].a, slots), bytes[j]));
        return m;
    } else {
        typename V::Vec m = StartsOfMark<V>(marks[0], bytes);
#pragma GCC unroll 4
        for (size_t i = 1; i < nMarks; ++i) m = V::Or(m, StartsOfMark<V>(marks[i], bytes));
        return m;
    }
}

// The lead bytes of UTF-8 by length: with the top bit of a byte, its next
// bits tell 2 (110), 3 (1110), 4 (11110) or 5 and 6 (11111) bytes. Doubling a
// byte moves its next bit to the top, where Bits reads it. Each length is a
// subset of the one before, and bytes of 0xF8 and above, rarer still than
// the 4-byte leads, are looked for only where there are some of these.
template <class V>
inline void AddLeads(typename V::Vec b, uint64_t nHigh, unsigned nShift, BlockMasks& m) {
    typename V::Vec b6 = V::Double(b), b5 = V::Double(b6), b4 = V::Double(b5);
    uint64_t nLead2 = nHigh & (V::Bits(b6) << nShift);
    uint64_t nLead3 = nLead2 & (V::Bits(b5) << nShift);
    uint64_t nLead4 = nLead3 & (V::Bits(b4) << nShift);
    m.nLead2 |= nLead2;
    m.nLead3 |= nLead3;
    if (!nLead4) return;
    m.nLead4 |= nLead4;
    m.nLead5 |= nLead4 & (V::Bits(V::Double(b4)) << nShift);
}

// One vector's share of a word, at bit nShift. Full-width marks and lead
// bytes are looked for only where there are bytes of 0x80 and above; the two
// encodings differ in nothing else. Forced inline: a call would keep the
// word's masks in memory and load the constants again for every chunk.
template <class V, bool kUtf8>
__attribute__((always_inline)) inline void ClassifyChunk(const unsigned char* p, unsigned nShift,
                                                         BlockMasks& m) {
    using Vec = typename V::Vec;
    Vec b = V::Load(p), n1 = V::Load(p + 1);
    Vec dots = V::And(V::Eq(b, kEnglishStop), V::Eq(n1, kEnglishStopFollower));
    m.nDots |= V::Bits(dots) << nShift;
    uint64_t nHigh = V::Bits(b) << nShift;
    if (!nHigh) {
        m.nMarks |= V::Bits(SingleByteMarks<V>(b)) << nShift;
        return;
    }
    m.nHigh |= nHigh;
    Vec fullWidth;
    if constexpr (kUtf8) {
        fullWidth = StartsOfMarks<V>(kUtf8Marks, kUtf8MarkTables, {b, n1, V::Load(p + 2)});
        AddLeads<V>(b, nHigh, nShift, m);
    } else {
        fullWidth = StartsOfMarks<V>(kGbkMarks, kGbkMarkTables, {b, n1});
    }
    m.nMarks |= V::Bits(V::Or(SingleByteMarks<V>(b), fullWidth)) << nShift;
}

template <class V, bool kUtf8>
inline void ClassifyWordsIn(const unsigned char* p, size_t nWords, BlockMasks* masks) {
    static_assert(kScanWord % V::kWidth == 0, "a word is a whole number of vectors");
    for (const BlockMasks* pEnd = masks + nWords; masks != pEnd; ++masks, p += kScanWord) {
        BlockMasks m = {};
#pragma GCC unroll 8
        for (unsigned nShift = 0; nShift < kScanWord; nShift += V::kWidth)
            ClassifyChunk<V, kUtf8>(p + nShift, nShift, m);
        *masks = m;
    }
}

// The body of each instruction set's ClassifyWords.
template <class V>
inline void ClassifyWordsWith(bool bUtf8, const unsigned char* p, size_t nWords,
                              BlockMasks* masks) {
    if (bUtf8)
        ClassifyWordsIn<V, true>(p, nWords, masks);
    else
        ClassifyWordsIn<V, false>(p, nWords, masks);
}

}  // namespace
}  // namespace varnel

#endif
