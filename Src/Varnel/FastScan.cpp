// The fast scan: windows of up to 2 KB classified by the instruction
// set's classifier, their sentence ends listed once and handed out call by
// call.
//
// A window starts on a character boundary. In it, one bit per byte marks the
// first bytes of end marks, the '.'s that a blank follows and the bytes of
// characters longer than one byte; from these follow the sentence ends. GBK
// character boundaries come from the runs of bytes of 0x80 and above: a run
// pairs up from its start, and a run of odd length swallows the byte after
// it. UTF-8 boundaries come from the lead bytes; where lead and continuation
// bytes do not match up, the window stops and the plain scan takes over for
// the next 64 bytes.
#include "ScanKernel.h"
#include "ScanRules.h"
#include "Scanner.h"
#include "Varnel.h"

namespace varnel {
namespace {

// A word is scanned only when the two bytes after it lie inside the text or
// on its terminator. So no load reaches beyond the terminator, and the last
// byte of the text, where a character may be cut short, is left to the plain
// scan.
size_t WordsThatFit(size_t nPos, size_t nSize) {
    if (nPos + kScanWord + 1 > nSize) return 0;
    size_t nWords = (nSize - nPos - 1) / kScanWord;
    return nWords < kScanWindowWords ? nWords : kScanWindowWords;
}

inline uint64_t BitsBelow(size_t n) { return n >= 64 ? ~uint64_t(0) : (uint64_t(1) << n) - 1; }

// GBK: the bytes that are the second byte of a pair; nCarry is 1 when the
// first byte is one. A run of high bytes starts on a character boundary and
// pairs up from its start, so a byte is a second byte exactly when an odd
// number of high bytes of the run stands right before it. Runs that start on
// odd bits are carried through by one addition, which flips the parity that
// the alternating pattern gives them.
inline uint64_t SecondBytes(uint64_t nHigh, uint64_t nCarry) {
    const uint64_t kEvenBits = 0x5555555555555555ULL;
    uint64_t nRuns = nHigh & ~nCarry;
    uint64_t nFollowsHigh = (nRuns << 1) | nCarry;
    uint64_t nOddStarts = nRuns & ~kEvenBits & ~nFollowsHigh;
    uint64_t nEvenRuns = nOddStarts + nRuns;  // runs that started on odd bits are cleared
    return (kEvenBits ^ (nEvenRuns << 1)) & nFollowsHigh;
}

// What the '.' rule needs of a word once its character boundaries are known.
struct WordCandidates {
    uint64_t nDots;       // '.' before a blank
    uint64_t nMultiByte;  // bytes of characters longer than one byte
};

// The sentence ends behind a word's marks (nEnds, their first bytes): one
// byte behind a single-byte mark, nWideLength behind a full-width one. nCarry
// brings the ends that the word before put into this one, and takes this
// word's ends that fall into the next.
template <unsigned nWideLength>
inline uint64_t CutsBehindMarks(uint64_t nEnds, uint64_t nMultiByte, uint64_t& nCarry) {
    uint64_t nNarrow = nEnds & ~nMultiByte, nWide = nEnds & nMultiByte;
    uint64_t nCuts = (nNarrow << 1) | (nWide << nWideLength) | nCarry;
    nCarry = (nNarrow >> 63) | (nWide >> (kScanWord - nWideLength));
    return nCuts;
}

// The words after the last one that may hold a sentence end are cleared.
void ClearCutsAfter(size_t nWords, ScanBlock& block) {
    for (size_t w = nWords; w < ScanBlock::kCutWords; ++w) block.anCuts[w] = 0;
}

// A window's kept words each list their ends in block.anCuts; the ends that
// the last one puts beyond it go into the word after, and the rest is cleared.
void EndCuts(size_t nKept, uint64_t nCarry, ScanBlock& block) {
    block.anCuts[nKept] = nCarry;
    ClearCutsAfter(nKept + 1, block);
}

// A window without bytes of 0x80 and above in a sentence that is all
// single-byte so far, as English text mostly is: every mark and every '.'
// before a blank ends a sentence, one byte behind it.
void ListSingleByteCuts(const BlockMasks* masks, size_t nWords, ScanBlock& block) {
    uint64_t nCarry = 0;
    for (size_t w = 0; w < nWords; ++w)
        block.anCuts[w] = CutsBehindMarks<1>(masks[w].nMarks | masks[w].nDots, 0, nCarry);
    EndCuts(nWords, nCarry, block);
}

// The same window in a sentence that has characters of two bytes or more:
// the marks' ends are listed and the dots are left to the '.' rule.
size_t FinishSingleByteWindow(const BlockMasks* masks, size_t nWords, WordCandidates* words,
                              ScanBlock& block) {
    uint64_t nCarry = 0;
    for (size_t w = 0; w < nWords; ++w) {
        block.anCuts[w] = CutsBehindMarks<1>(masks[w].nMarks, 0, nCarry);
        words[w] = {masks[w].nDots, 0};
    }
    EndCuts(nWords, nCarry, block);
    return nWords * kScanWord;
}

// Returns the bytes covered: a first byte that ends the window pairs with the
// byte after it, and the next window starts at that first byte.
size_t FinishGbkWindow(const BlockMasks* masks, size_t nWords, WordCandidates* words,
                       ScanBlock& block) {
    uint64_t nCarry = 0, nCutCarry = 0;
    for (size_t w = 0; w < nWords; ++w) {
        uint64_t nHigh = masks[w].nHigh, nSecond = SecondBytes(nHigh, nCarry);
        block.anCuts[w] =
            CutsBehindMarks<sizeof kGbkMarks[0]>(masks[w].nMarks & ~nSecond, nHigh, nCutCarry);
        words[w] = {masks[w].nDots & ~nSecond, nHigh};
        nCarry = (nHigh & ~nSecond) >> 63;
    }
    EndCuts(nWords, nCutCarry, block);
    return nWords * kScanWord - static_cast<size_t>(nCarry);
}

// The bytes of the last character of a well-formed word that lie in the word,
// when that character goes on into the next word; else 0.
size_t StraddlingBytes(const BlockMasks& masks) {
    if (masks.nLead2 >> 63) return 1;
    if ((masks.nLead3 >> 62) & 1) return 2;
    if ((masks.nLead4 >> 61) & 1) return 3;
    return 0;
}

// Keeps the words up to the first one whose lead and continuation bytes do
// not match up; returns the bytes covered, 0 when that is the first word. A
// character cut by the end of the window is left whole to the next one.
size_t FinishUtf8Window(const BlockMasks* masks, size_t nWords, WordCandidates* words,
                        ScanBlock& block) {
    uint64_t nCarry = 0;  // continuation bytes wanted by the word before
    uint64_t nCutCarry = 0;
    size_t w = 0;
    for (; w < nWords; ++w) {
        const BlockMasks& m = masks[w];
        uint64_t nContinuation = m.nHigh & ~m.nLead2;
        uint64_t nWanted = (m.nLead2 << 1) | (m.nLead3 << 2) | (m.nLead4 << 3) | nCarry;
        if ((nWanted ^ nContinuation) | m.nLead5) break;
        block.anCuts[w] = CutsBehindMarks<sizeof kUtf8Marks[0]>(m.nMarks, m.nHigh, nCutCarry);
        words[w] = {m.nDots, m.nHigh};
        nCarry = (m.nLead2 >> 63) | (m.nLead3 >> 62) | (m.nLead4 >> 61);
    }
    EndCuts(w, nCutCarry, block);
    return w == 0 ? 0 : w * kScanWord - StraddlingBytes(masks[w - 1]);
}

// Once the window's ends are all set: where the first end lies from each word
// on, so that a call finds the next end in a later word without a loop.
void IndexCuts(ScanBlock& block) {
    uint16_t nFirst = ScanBlock::kNoCut;
    block.anFirstCutFrom[ScanBlock::kCutWords] = nFirst;
    for (size_t w = ScanBlock::kCutWords; w-- > 0;) {
        if (block.anCuts[w])
            nFirst = static_cast<uint16_t>(w * kScanWord + __builtin_ctzll(block.anCuts[w]));
        block.anFirstCutFrom[w] = nFirst;
    }
}

// One past the highest set bit of nBits, word w's, as a position in the
// window; nBefore when none is set.
inline size_t LastBitEnd(uint64_t nBits, size_t w, size_t nBefore) {
    return nBits ? w * kScanWord + kScanWord - static_cast<size_t>(__builtin_clzll(nBits))
                 : nBefore;
}

// One past the highest bit that bits(w) sets over words 0 to nWords - 1, or 0.
template <class Bits>
size_t LastBitEndIn(size_t nWords, Bits bits) {
    for (size_t w = nWords; w-- > 0;)
        if (uint64_t n = bits(w)) return LastBitEnd(n, w, 0);
    return 0;
}

// Whether the sentence at some byte is all single-byte, from one past its
// last end before it and one past the last byte of a wide character before
// it (0 for none); bEnglish tells it of the window's start.
inline bool AllSingleByte(size_t nCutEnd, size_t nWideEnd, bool bEnglish) {
    return nCutEnd ? nWideEnd < nCutEnd : bEnglish && nWideEnd == 0;
}

// Where the window, or the sentence in progress at its start, holds characters
// of two bytes or more, a '.' counts only when none stands between the
// sentence's start and it. The dots are taken in
// order, each seeing the ends before it, with the last end and the last byte
// of a wide character before each carried along, so that a dot costs the same
// however far back they lie.
void AddMixedDotCuts(const WordCandidates* words, size_t nKept, bool bEnglish, ScanBlock& block) {
    size_t nCutsEnd = 0, nWideEnd = 0;  // one past the last of each before the word; 0 for none
    for (size_t w = 0; w < nKept; ++w) {
        for (uint64_t nLeft = words[w].nDots; nLeft; nLeft &= nLeft - 1) {
            size_t nBit = static_cast<size_t>(__builtin_ctzll(nLeft));
            size_t nCut = LastBitEnd(block.anCuts[w] & BitsBelow(nBit + 1), w, nCutsEnd);
            size_t nWide = LastBitEnd(words[w].nMultiByte & BitsBelow(nBit), w, nWideEnd);
            size_t nEnd = w * kScanWord + nBit + 1;
            if (AllSingleByte(nCut, nWide, bEnglish))
                block.anCuts[nEnd / kScanWord] |= uint64_t(1) << (nEnd % kScanWord);
        }
        nCutsEnd = LastBitEnd(block.anCuts[w], w, nCutsEnd);
        nWideEnd = LastBitEnd(words[w].nMultiByte, w, nWideEnd);
    }
}

bool AnyDots(const WordCandidates* words, size_t nKept) {
    uint64_t nDots = 0;
    for (size_t w = 0; w < nKept; ++w) nDots |= words[w].nDots;
    return nDots != 0;
}

// True when every character since the window's last sentence end, or since
// its start when it has none, is one byte long.
bool EnglishAtEnd(const WordCandidates* words, size_t nKept, bool bEnglish,
                  const ScanBlock& block) {
    size_t nCutEnd = LastBitEndIn(nKept + 1, [&](size_t w) { return block.anCuts[w]; });
    size_t nWideEnd = LastBitEndIn(nKept, [&](size_t w) { return words[w].nMultiByte; });
    return AllSingleByte(nCutEnd, nWideEnd, bEnglish);
}

// Lists the sentence ends of the classified window, and whether the sentence
// in progress at its end is all single-byte; false when the window's first
// word is not well-formed UTF-8.
bool ListWindowCuts(const BlockMasks* masks, size_t nWords, bool bUtf8, bool bEnglish,
                    ScanBlock& block) {
    uint64_t nHigh = 0;
    for (size_t w = 0; w < nWords; ++w) nHigh |= masks[w].nHigh;
    if (nHigh == 0 && bEnglish) {
        block.nLen = nWords * kScanWord;
        ListSingleByteCuts(masks, nWords, block);
        block.bEnglishAtEnd = true;
        return true;
    }
    WordCandidates words[kScanWindowWords];
    if (nHigh == 0)
        block.nLen = FinishSingleByteWindow(masks, nWords, words, block);
    else if (bUtf8)
        block.nLen = FinishUtf8Window(masks, nWords, words, block);
    else
        block.nLen = FinishGbkWindow(masks, nWords, words, block);
    if (block.nLen == 0) return false;
    size_t nKept = (block.nLen + kScanWord - 1) / kScanWord;
    if (AnyDots(words, nKept)) AddMixedDotCuts(words, nKept, bEnglish, block);
    block.bEnglishAtEnd = EnglishAtEnd(words, nKept, bEnglish, block);
    return true;
}

// Scans the window at pBase for the sentence in progress there, which is all
// single-byte so far when bEnglish is true; false when the window's first
// word is not well-formed UTF-8.
bool FillWindow(const char* pBase, size_t nWords, int nEncode, bool bEnglish, ScanBlock& block) {
    BlockMasks masks[kScanWindowWords];
    bool bUtf8 = nEncode == VN_ENCODE_UTF8;
    ClassifyWords(block.level, bUtf8, reinterpret_cast<const unsigned char*>(pBase), nWords, masks);
    block.pBase = pBase;
    if (!ListWindowCuts(masks, nWords, bUtf8, bEnglish, block)) return false;
    IndexCuts(block);
    return true;
}

// Goes on past the kept window, filling new ones.
__attribute__((noinline)) size_t ScanOnward(const char* sText, size_t nSize, int nEncode,
                                            ScanBlock& block, size_t nPos, bool bEnglish) {
    for (;;) {
        size_t nWords = WordsThatFit(nPos, nSize);
        if (nWords == 0) return ResumeSentenceScan(sText, nSize, nEncode, nPos, bEnglish, nSize);
        if (!FillWindow(sText + nPos, nWords, nEncode, bEnglish, block)) {
            size_t nEnd =
                ResumeSentenceScan(sText, nSize, nEncode, nPos, bEnglish, nPos + kScanWord);
            if (nEnd != kNoSentenceEnd) return nEnd;
            continue;
        }
        size_t nEnd;
        if (NextCutInWindow(block.pBase, block, nEnd)) return nPos + nEnd;
        nPos += block.nLen;
        bEnglish = block.bEnglishAtEnd;
    }
}

}  // namespace

size_t ScanSentenceEndBeyond(const char* sText, size_t nSize, int nEncode, ScanBlock& block) {
    if (block.level == SimdLevel::kScalar) return ScanSentenceEnd(sText, nSize, nEncode);
    // Below pBase the offset wraps to beyond any window.
    size_t nOff = reinterpret_cast<uintptr_t>(sText) - reinterpret_cast<uintptr_t>(block.pBase);
    if (nOff >= block.nLen) return ScanOnward(sText, nSize, nEncode, block, 0, true);
    size_t nEnd;
    if (NextCutInWindow(sText, block, nEnd)) return nEnd;
    return ScanOnward(sText, nSize, nEncode, block, block.nLen - nOff, block.bEnglishAtEnd);
}

}  // namespace varnel
