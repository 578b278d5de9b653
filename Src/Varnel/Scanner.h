// The sentence-end scanner that the splitter calls: the plain scan, byte by
// byte, which is the reference; and the fast scan, which classifies a window
// of up to 2 KB at a time with the widest instructions the processor has
// and gives byte for byte the plain scan's results. The scanner knows nothing
// of the splitter.
#ifndef VARNEL_VARNEL_SCANNER_H
#define VARNEL_VARNEL_SCANNER_H

#include <cstddef>
#include <cstdint>

namespace varnel {

// Returned when the text holds no end mark.
constexpr size_t kNoSentenceEnd = static_cast<size_t>(-1);

// The plain scan: the length of the first sentence of sText[0..nSize)
// including its end mark, or kNoSentenceEnd. sText[nSize] must be the NUL
// terminator and no NUL may come before it; sText must not start with
// whitespace the caller wants skipped. nEncode is VN_ENCODE_UTF8 or GBK.
size_t ScanSentenceEnd(const char* sText, size_t nSize, int nEncode);

// The same scan resumed at sText[nPos], a character boundary, with bEnglish
// true when every character since the sentence began is one byte long. Returns
// the length from sText to the first sentence end; or, once nPos reaches
// nStop or the end of the text, kNoSentenceEnd with nPos left on a character
// boundary (past nStop when a character straddles it) and bEnglish updated.
size_t ResumeSentenceScan(const char* sText, size_t nSize, int nEncode, size_t& nPos,
                          bool& bEnglish, size_t nStop);

// How the fast scan classifies bytes: kScalar runs the plain scan; kWord
// reads 8 bytes at a time in a 64-bit register, is built and tested on every
// processor and chosen on none (it is slower than the plain scan on Chinese
// text); kSse2 and kAvx2 exist on x86-64 only.
enum class SimdLevel { kScalar, kWord, kSse2, kAvx2 };

// The level the splitter uses on this processor: the fastest that this build
// has and the processor runs.
SimdLevel BestSimdLevel();

// True when this build has the level and the processor runs it.
bool SimdLevelRuns(SimdLevel level);

// A window is read as words of 64 bytes, one bit per byte, up to 2 KB: large
// enough that what a window costs whatever its sentences is spread thin.
constexpr size_t kScanWord = 64;
constexpr size_t kScanWindowWords = 32;

// The last window scanned, kept so that the sentences that start inside it
// need no second look at its bytes: the sentence ends in it, with the '.'
// rule already applied, since the window's sentences follow one another from
// the sentence that was in progress where the window begins. The ends are
// kept as bits, one per byte, so that a call takes the next one with a count
// of trailing zeros.
struct ScanBlock {
    // A mark that the window's end cuts through was read whole; its end lies
    // past the window's last word.
    static constexpr size_t kCutWords = kScanWindowWords + 1;
    static constexpr uint16_t kNoCut = 0xFFFF;

    SimdLevel level = SimdLevel::kScalar;
    const char* pBase = nullptr;  // a character boundary
    size_t nLen = 0;              // bytes covered; 0 when nothing is kept
    bool bEnglishAtEnd = true;    // every character since the last end is one byte long
    // Bit k of word w: a sentence ends before pBase[64 w + k], behind its mark.
    uint64_t anCuts[kCutWords] = {};
    // The first of those ends in word w or after it, or kNoCut; one more
    // entry, always kNoCut, stands behind the last word.
    uint16_t anFirstCutFrom[kCutWords + 1] = {};
};

// nTest != 0 ? nIf : nElse, for a choice that follows the text, which a
// branch would mispredict about every other time. The compilers take a
// conditional move for it only when asked.
inline size_t ChooseWithoutBranch(uint64_t nTest, size_t nIf, size_t nElse) {
#if defined(__x86_64__) && defined(__GNUC__)
    __asm__("test %1, %1\n\tcmovnz %2, %0" : "+r"(nElse) : "r"(nTest), "r"(nIf) : "cc");
    return nElse;
#else
    size_t nMask = size_t(0) - (nTest != 0);
    return (nIf & nMask) | (nElse & ~nMask);
#endif
}

// Sets nLen to the length from sText to the next sentence end listed in the
// kept window; false when sText lies outside it or no end follows there. Ends
// up to sText itself are behind marks that were skipped as blanks (CR, LF).
inline bool NextCutInWindow(const char* sText, const ScanBlock& block, size_t& nLen) {
    // Below pBase the offset wraps to beyond any window.
    size_t nOff = reinterpret_cast<uintptr_t>(sText) - reinterpret_cast<uintptr_t>(block.pBase);
    if (nOff >= block.nLen) return false;
    size_t w = nOff / kScanWord;
    uint64_t nAhead = block.anCuts[w] & (~uint64_t(1) << (nOff % kScanWord));
    // Both candidates are found before one is chosen, so that no branch
    // depends on whether the end lies in this word or a later one.
    size_t nInWord =
        w * kScanWord + static_cast<unsigned>(__builtin_ctzll(nAhead | (uint64_t(1) << 63)));
    size_t nCut = ChooseWithoutBranch(nAhead, nInWord, block.anFirstCutFrom[w + 1]);
    nLen = nCut - nOff;
    return nCut != ScanBlock::kNoCut;
}

// ScanSentenceEndFast for a text that the kept window does not cover, or
// whose window holds no further sentence end.
size_t ScanSentenceEndBeyond(const char* sText, size_t nSize, int nEncode, ScanBlock& block);

// ScanSentenceEnd's result for sText[0..nSize), found at block.level. sText
// must start on a character boundary. A kept block is used only where the
// splitter goes on: sText lies behind the last sentence end found in it, with
// nothing but blanks between; and the bytes it covers are unchanged since it
// was filled. Set block.nLen to 0 whenever the text changes. No byte beyond
// sText[nSize] is read. Inline, since most sentences of a text end in a
// window already listed: the splitter takes the next end without a call.
inline size_t ScanSentenceEndFast(const char* sText, size_t nSize, int nEncode, ScanBlock& block) {
    size_t nLen;
    return NextCutInWindow(sText, block, nLen)
               ? nLen
               : ScanSentenceEndBeyond(sText, nSize, nEncode, block);
}

}  // namespace varnel

#endif
