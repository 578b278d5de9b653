// The fast scan: windows of up to 512 bytes classified by the instruction
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

// One word's candidates once its character boundaries are known.
struct WordCandidates {
    uint64_t nEnds;       // first bytes of marks that end any sentence
    uint64_t nDots;       // '.' before a blank
    uint64_t nMultiByte;  // bytes of characters longer than one byte
};

// A window without bytes of 0x80 and above, as English text mostly is: every
// byte is a character, and no check of either encoding is needed.
size_t FinishSingleByteWindow(const BlockMasks* masks, size_t nWords, WordCandidates* words) {
    for (size_t w = 0; w < nWords; ++w) words[w] = {masks[w].nMarks, masks[w].nDots, 0};
    return nWords * kScanWord;
}

// Returns the bytes covered: a first byte that ends the window pairs with the
// byte after it, and the next window starts at that first byte.
size_t FinishGbkWindow(const BlockMasks* masks, size_t nWords, WordCandidates* words) {
    uint64_t nCarry = 0;
    for (size_t w = 0; w < nWords; ++w) {
        uint64_t nSecond = SecondBytes(masks[w].nHigh, nCarry);
        words[w] = {masks[w].nMarks & ~nSecond, masks[w].nDots & ~nSecond, masks[w].nHigh};
        nCarry = (masks[w].nHigh & ~nSecond) >> 63;
    }
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
size_t FinishUtf8Window(const BlockMasks* masks, size_t nWords, WordCandidates* words) {
    uint64_t nCarry = 0;  // continuation bytes wanted by the word before
    size_t w = 0;
    for (; w < nWords; ++w) {
        const BlockMasks& m = masks[w];
        uint64_t nContinuation = m.nHigh & ~m.nLead2;
        uint64_t nWanted = (m.nLead2 << 1) | (m.nLead3 << 2) | (m.nLead4 << 3) | nCarry;
        if ((nWanted ^ nContinuation) | m.nLead5) break;
        words[w] = {m.nMarks, m.nDots, m.nHigh};
        nCarry = (m.nLead2 >> 63) | (m.nLead3 >> 62) | (m.nLead4 >> 61);
    }
    return w == 0 ? 0 : w * kScanWord - StraddlingBytes(masks[w - 1]);
}

inline size_t MarkLength(char c, int nEncode) {
    if (static_cast<unsigned char>(c) < 0x80) return 1;
    return nEncode == VN_ENCODE_UTF8 ? sizeof kUtf8Marks[0] : sizeof kGbkMarks[0];
}

// True when no byte of a character of two bytes or more lies in the window
// between byte nFrom and byte nTo (excluded).
bool SingleBytesBetween(const WordCandidates* words, size_t nFrom, size_t nTo) {
    for (size_t w = nFrom / kScanWord; w * kScanWord < nTo; ++w) {
        size_t nWordAt = w * kScanWord;
        uint64_t nRange =
            BitsBelow(nTo - nWordAt) & ~BitsBelow(nFrom > nWordAt ? nFrom - nWordAt : 0);
        if (words[w].nMultiByte & nRange) return false;
    }
    return true;
}

// The sentence in progress while a window's cuts are listed.
struct SentenceSoFar {
    size_t nFrom;          // where it began in the window: behind the last cut, or 0
    bool bClean;           // no character before nFrom made it other than single-byte
    bool bAllSingleBytes;  // the whole window is, and no '.' needs a closer look
};

// Appends the cuts of word w to the window's list. A '.' ends a sentence only
// when no character of two bytes or more stands between the sentence's start
// and it.
void ListCuts(const WordCandidates* words, size_t w, int nEncode, SentenceSoFar& sentence,
              ScanBlock& block) {
    const WordCandidates& word = words[w];
    uint64_t nLeft = word.nEnds | word.nDots;
    size_t nCount = block.nCuts;
    while (nLeft) {
        size_t nBit = static_cast<size_t>(__builtin_ctzll(nLeft));
        nLeft &= nLeft - 1;
        size_t nAt = w * kScanWord + nBit;
        bool bMark = (word.nEnds >> nBit) & 1;
        bool bCounts =
            bMark || (sentence.bClean &&
                      (sentence.bAllSingleBytes || SingleBytesBetween(words, sentence.nFrom, nAt)));
        if (!bCounts) continue;
        sentence.nFrom = nAt + MarkLength(block.pBase[nAt], nEncode);
        sentence.bClean = true;
        block.anCutAt[nCount++] = static_cast<uint16_t>(sentence.nFrom);
    }
    block.nCuts = nCount;
}

// Scans the window at pBase for the sentence in progress there, which is all
// single-byte so far when bEnglish is true; false when the window's first
// word is not well-formed UTF-8.
bool FillWindow(const char* pBase, size_t nWords, int nEncode, bool bEnglish, ScanBlock& block) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(pBase);
    BlockMasks masks[kScanWindowWords];
    WordCandidates words[kScanWindowWords];
    bool bUtf8 = nEncode == VN_ENCODE_UTF8;
    ClassifyWords(block.level, bUtf8, p, nWords, masks);
    uint64_t nHigh = 0;
    for (size_t w = 0; w < nWords; ++w) nHigh |= masks[w].nHigh;
    if (nHigh == 0)
        block.nLen = FinishSingleByteWindow(masks, nWords, words);
    else
        block.nLen =
            bUtf8 ? FinishUtf8Window(masks, nWords, words) : FinishGbkWindow(masks, nWords, words);
    if (block.nLen == 0) return false;
    block.pBase = pBase;
    block.nCuts = block.nNextCut = 0;
    size_t nKept = (block.nLen + kScanWord - 1) / kScanWord;
    SentenceSoFar sentence = {0, bEnglish, nHigh == 0};
    for (size_t w = 0; w < nKept; ++w) ListCuts(words, w, nEncode, sentence, block);
    block.bEnglishAtEnd =
        sentence.bClean &&
        (sentence.bAllSingleBytes || SingleBytesBetween(words, sentence.nFrom, nKept * kScanWord));
    return true;
}

// The length from pBase + nOff to the next cut of the kept window, or
// kNoSentenceEnd. Cuts up to nOff are behind marks that were skipped as
// blanks (CR, LF). A mark that the window's end cuts through was read whole
// and counts.
size_t NextCut(ScanBlock& block, size_t nOff) {
    while (block.nNextCut < block.nCuts && block.anCutAt[block.nNextCut] <= nOff) ++block.nNextCut;
    if (block.nNextCut == block.nCuts) return kNoSentenceEnd;
    return block.anCutAt[block.nNextCut++] - nOff;
}

bool InWindow(const ScanBlock& block, const char* p) {
    uintptr_t nBase = reinterpret_cast<uintptr_t>(block.pBase);
    uintptr_t nAt = reinterpret_cast<uintptr_t>(p);
    return nAt >= nBase && nAt - nBase < block.nLen;
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
        size_t nEnd = NextCut(block, 0);
        if (nEnd != kNoSentenceEnd) return nPos + nEnd;
        nPos += block.nLen;
        bEnglish = block.bEnglishAtEnd;
    }
}

}  // namespace

size_t ScanSentenceEndBeyond(const char* sText, size_t nSize, int nEncode, ScanBlock& block) {
    if (block.level == SimdLevel::kScalar) return ScanSentenceEnd(sText, nSize, nEncode);
    if (!InWindow(block, sText)) return ScanOnward(sText, nSize, nEncode, block, 0, true);
    size_t nOff = static_cast<size_t>(sText - block.pBase);
    size_t nEnd = NextCut(block, nOff);
    if (nEnd != kNoSentenceEnd) return nEnd;
    return ScanOnward(sText, nSize, nEncode, block, block.nLen - nOff, block.bEnglishAtEnd);
}

}  // namespace varnel
