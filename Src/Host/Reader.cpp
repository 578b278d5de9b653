#include "Reader.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "Closers.h"
#include "EnglishDot.h"
#include "Punctuation.h"
#include "StopScan.h"

namespace varnel_host {

namespace {

constexpr size_t kNoSentence = static_cast<size_t>(-1);

// The pairs open in the sentence being built, the innermost last. A closer
// closes the innermost open pair of its kind and every pair opened inside
// it; a closer of no open pair is let be. Pairs opened beyond kMaxOpen
// deep are not remembered.
class OpenPairs {
  public:
    size_t Depth() const { return m_nDepth; }
    void Clear() { m_nDepth = 0; }

    void Feed(int nKind) {
        if (nKind == kAsciiQuote && Close(nKind)) return;
        if (nKind < 0) {
            Close(-nKind);
        } else if (m_nDepth < kMaxOpen) {
            m_anKinds[m_nDepth++] = static_cast<int8_t>(nKind);
        }
    }

  private:
    static constexpr size_t kMaxOpen = 16;

    bool Close(int nKind) {
        for (size_t i = m_nDepth; i-- > 0;) {
            if (m_anKinds[i] != nKind) continue;
            m_nDepth = i;
            return true;
        }
        return false;
    }

    int8_t m_anKinds[kMaxOpen] = {};
    size_t m_nDepth = 0;
};

class ReaderPass {
  public:
    ReaderPass(const char* p, size_t n, int nEncode, const Abbreviations& abbreviations,
               std::vector<Span>& vSpans)
        : m_p(p), m_n(n), m_nEncode(nEncode), m_abbreviations(abbreviations), m_vSpans(vSpans) {}

    void Run();

  private:
    Span Library(size_t i) const { return m_vSpans[i + m_nShift]; }
    void Begin(size_t nStart);
    void Cut(size_t nEnd);
    void CutBefore(size_t nItem);
    // Asked at every '.', and of most sentences answered by m_bList alone.
    size_t ItemAt(size_t nMark) const { return m_bList ? NextItemAt(nMark) : kNoSentence; }
    size_t NextItemAt(size_t nMark) const;
    // Sentences are written over those already read.
    void Emit(const Span& span) {
        if (m_nOut == m_nRead) MakeRoom();
        m_vSpans[m_nOut++] = span;
    }
    void MakeRoom();

    size_t NextStop(size_t i, size_t nTo, PairMark& m);
    void LoadBlock(size_t i);
    void LoadWords(size_t i);
    size_t NextBlock(size_t i, uint64_t nFrom) const;
    size_t WordFloor(size_t nDot) const;
    void Feed(size_t nPos, const PairMark& m, OpenPairs& pairs) const;
    size_t FeedCloser(size_t nPos, size_t nTo);
    void ScanSentence(size_t nFrom, size_t nTo);
    size_t AtDot(size_t nDot, size_t nTo);
    void AtBoundary(const Span& span, const Span& next);

    bool EndsHere(const Span& next) const;
    bool GoesOn(SentenceEnd end, size_t nBoundary, bool bMoved, const Span& next);
    bool InsidePair(size_t nBoundary);
    size_t FindClose(size_t nBoundary);
    size_t NextVisible(size_t nPos) const;
    bool DotEnds(size_t nDot, size_t nBoundary) const;

    const char* m_p;
    size_t m_n;
    int m_nEncode;
    const Abbreviations& m_abbreviations;
    std::vector<Span>& m_vSpans;

    size_t m_nOut = 0;              // sentences written at the head of m_vSpans
    size_t m_nRead = 0;             // where the first of the splitter's sentences not read yet is
    size_t m_nShift = 0;            // how far the unread sentences moved to make room
    size_t m_nStart = kNoSentence;  // the sentence being built
    bool m_bList = false;           // it starts with a list item marker
    size_t m_nPos = 0;              // scanned up to here
    OpenPairs m_open;               // in the sentence being built
    size_t m_nBlock = kNoSentence - 64;  // the 64 bytes from here were searched for stops:
    uint64_t m_nStops = 0;               // where they may start, bit k for p[m_nBlock + k]
    uint64_t m_nAscii = 0;               // where the bytes are below 0x80
    size_t m_nOpenUntil = 0;             // an open pair closes before here
    // The stops of kWords blocks found at once, from nStart on.
    struct StopWords {
        static constexpr size_t kWords = 4;
        size_t nStart = kNoSentence - 64 * kWords;
        uint64_t anStops[kWords] = {};
        uint64_t anAscii[kWords] = {};
        bool Holds(size_t i) const { return i >= nStart && i < nStart + 64 * kWords; }
    };
    // Two, the last used first: the look-ahead for a closer runs past the
    // scan's words and the scan comes back to them, and neither searches
    // again what the other found.
    StopWords m_aWords[2];
};

void ReaderPass::Run() {
    size_t nSpans = m_vSpans.size();
    for (size_t i = 0; i < nSpans; ++i) {
        Span span = Library(i);
        m_nRead = i + m_nShift + 1;
        size_t nFrom = std::max(span.nStart, m_nPos);
        if (m_nStart == kNoSentence) {
            // What the closers left of a sentence loses its whitespace.
            nFrom = SkipSpaces(m_p, nFrom, span.nEnd);
            m_nPos = span.nEnd;
            if (nFrom == span.nEnd) continue;
            Begin(nFrom);
        }
        ScanSentence(nFrom, span.nEnd);
        m_nPos = span.nEnd;
        if (i + 1 < nSpans) AtBoundary(span, Library(i + 1));
    }
    if (m_nStart != kNoSentence) Emit({m_nStart, m_nPos});
    m_vSpans.resize(m_nOut);
}

void ReaderPass::Begin(size_t nStart) {
    m_nStart = nStart;
    // A list item marker starts with a digit or a small letter; most
    // sentences start otherwise and need not be asked.
    char c = m_p[nStart];
    m_bList = (IsDigit(c) || IsSmallLatin(c)) && ListMarkerLength(m_p, nStart, m_n) > 0;
}

// In a sentence that starts with a list item marker, the next marker
// (" 2. The", " b) The") starts the next item: where it starts, when the '.'
// or ')' at nMark ends one; else kNoSentence.
size_t ReaderPass::NextItemAt(size_t nMark) const {
    size_t nItem = nMark;
    while (nItem > m_nStart && nMark - nItem < 3 && IsDigit(m_p[nItem - 1])) --nItem;
    if (nItem == nMark && nItem > m_nStart && IsSmallLatin(m_p[nItem - 1])) --nItem;
    if (nItem <= m_nStart + 1 || !IsBlank(m_p[nItem - 1])) return kNoSentence;
    size_t nLen = ListMarkerLength(m_p, nItem, m_n);
    if (nLen == 0 || nItem + nLen <= nMark) return kNoSentence;
    size_t nNext = NextVisible(nItem + nLen);
    return nNext < m_n && IsCapitalLatin(m_p[nNext]) ? nItem : kNoSentence;
}

void ReaderPass::CutBefore(size_t nItem) {
    size_t nEnd = nItem;
    while (IsBlank(m_p[nEnd - 1])) --nEnd;
    Cut(nEnd);
    Begin(nItem);
}

void ReaderPass::Cut(size_t nEnd) {
    Emit({m_nStart, nEnd});
    m_nStart = kNoSentence;
    m_open.Clear();
    m_nOpenUntil = 0;
}

// Where a sentence of the splitter gives more than one, the unread ones move
// up, by as many as are left, so that the moves cost no more than the
// sentences made.
void ReaderPass::MakeRoom() {
    size_t nOld = m_vSpans.size(), nMore = nOld - m_nRead + 16;
    m_vSpans.resize(nOld + nMore);
    std::move_backward(m_vSpans.begin() + m_nRead, m_vSpans.begin() + nOld, m_vSpans.end());
    m_nRead += nMore;
    m_nShift += nMore;
}

// The next character in [i, nTo) that the pass looks at: a '.', CR, LF or a
// pair mark (m.nLen > 0); nTo when none. i is a character boundary. In GBK a
// stop byte counts where it starts a character: where the bytes of 0x80 and
// above since the last byte below 0x80 pair up in front of it. It runs once
// a stop and finds most in the block at hand, where the call itself costs
// about as much: it is inlined into its two callers.
__attribute__((always_inline)) inline size_t ReaderPass::NextStop(size_t i, size_t nTo,
                                                                  PairMark& m) {
    const char* p = m_p;
    for (; i < nTo;) {
        if (i < m_nBlock || i >= m_nBlock + 64) LoadBlock(i);
        uint64_t nFrom = uint64_t(1) << (i - m_nBlock), nAhead = m_nStops & ~(nFrom - 1);
        if (!nAhead) {
            i = NextBlock(i, nFrom);
            continue;
        }
        size_t nStop = m_nBlock + static_cast<size_t>(__builtin_ctzll(nAhead));
        if (nStop >= nTo) break;
        if (m_nEncode != 1) {
            uint64_t nBefore = (nAhead & (0 - nAhead)) - 1;  // the bits below the stop's
            uint64_t nAscii = m_nAscii & nBefore & ~(nFrom - 1);
            size_t nAsciiEnd =
                nAscii ? m_nBlock + 64 - static_cast<size_t>(__builtin_clzll(nAscii)) : i;
            if ((nStop - nAsciiEnd) % 2) {
                i = nStop + 1;  // a second byte; the next character starts behind it
                continue;
            }
        }
        m = PairMarkAt(p + nStop, p + nTo, m_nEncode);
        if (m.nLen || static_cast<unsigned char>(p[nStop]) < 0x80) return nStop;
        // The first byte of a wide character of no pair: in UTF-8 the bytes
        // that follow are none of the stop bytes.
        i = nStop + (m_nEncode == 1 ? 1 : 2);
    }
    return nTo;
}

// The stops of StopWords::kWords blocks of 64 bytes are found at a time and
// kept for the sentences that follow; a block is taken from them when it
// holds i. Most blocks are in the words at hand, and only a change of words
// costs a call.
inline void ReaderPass::LoadBlock(size_t i) {
    if (!m_aWords[0].Holds(i)) LoadWords(i);
    const StopWords& words = m_aWords[0];
    size_t w = (i - words.nStart) / 64;
    m_nBlock = words.nStart + 64 * w;
    m_nStops = words.anStops[w];
    m_nAscii = words.anAscii[w];
}

// Makes the words that hold i those at hand: the others, or new ones found.
void ReaderPass::LoadWords(size_t i) {
    StopWords& words = m_aWords[0];
    std::swap(words, m_aWords[1]);
    if (words.Holds(i)) return;
    words.nStart = i;
    FindStopsWords(m_p, i, m_n, m_nEncode, StopWords::kWords, words.anStops, words.anAscii);
}

// Where the search goes on past the block that has no more stops from i
// (bit nFrom): in GBK at the character boundary at or behind its end.
size_t ReaderPass::NextBlock(size_t i, uint64_t nFrom) const {
    size_t nEnd = m_nBlock + 64;
    if (m_nEncode == 1) return nEnd;
    uint64_t nAscii = m_nAscii & ~(nFrom - 1);
    size_t nAsciiEnd = nAscii ? nEnd - static_cast<size_t>(__builtin_clzll(nAscii)) : i;
    return nEnd + (nEnd - nAsciiEnd) % 2;
}

// Where the word in front of the '.' at nDot may start: the sentence's start,
// or in GBK behind the last double-byte character, whose second byte may be
// a letter.
size_t ReaderPass::WordFloor(size_t nDot) const {
    if (m_nEncode == 1) return m_nStart;
    size_t nWord = nDot;
    while (nWord > m_nStart && static_cast<unsigned char>(m_p[nWord - 1]) < 0x80) --nWord;
    if (nWord == m_nStart) return m_nStart;
    size_t nRun = nWord;  // the bytes of 0x80 and above in front start at a character
    while (nRun > m_nStart && static_cast<unsigned char>(m_p[nRun - 1]) >= 0x80) --nRun;
    return (nWord - nRun) % 2 ? nWord + 1 : nWord;
}

void ReaderPass::Feed(size_t nPos, const PairMark& m, OpenPairs& pairs) const {
    if (m.nKind == -kSingleQuote &&
        IsApostrophe(m_p + m_nStart, m_p + nPos, m.nLen, m_p + m_n, m_nEncode))
        return;
    pairs.Feed(m.nKind);
}

// A closer right behind an end mark closes what it may: there a '"' opens
// nothing. Returns its length.
size_t ReaderPass::FeedCloser(size_t nPos, size_t nTo) {
    PairMark m = PairMarkAt(m_p + nPos, m_p + nTo, m_nEncode);
    if (m.nKind == kAsciiQuote) m.nKind = -kAsciiQuote;
    if (m.nLen) Feed(nPos, m, m_open);
    return CloserLength(m_p + nPos, m_p + nTo, m_nEncode);
}

void ReaderPass::ScanSentence(size_t nFrom, size_t nTo) {
    size_t i = nFrom;
    for (;;) {
        PairMark m;
        i = NextStop(i, nTo, m);
        if (i >= nTo) return;
        if (m.nLen) {
            size_t nItem = m.nKind == -kAsciiParen && m_open.Depth() == 0 ? ItemAt(i) : kNoSentence;
            if (nItem != kNoSentence) CutBefore(nItem);
            Feed(i, m, m_open);
            i += m.nLen;
        } else if (m_p[i] == '.') {
            i = AtDot(i, nTo);
        } else {
            ++i;  // the CR or LF that ends the splitter's sentence
        }
    }
}

// A '.' inside a sentence of the splitter, which it did not end there: it
// ends one when its closers and a blank follow and a reader ends it there.
// Returns where the scan goes on.
size_t ReaderPass::AtDot(size_t nDot, size_t nTo) {
    if (size_t nItem = ItemAt(nDot); nItem != kNoSentence) {
        CutBefore(nItem);
        return nDot + 1;
    }
    size_t nBoundary = nDot + 1;
    while (size_t nLen = CloserLength(m_p + nBoundary, m_p + nTo, m_nEncode)) {
        FeedCloser(nBoundary, nTo);
        nBoundary += nLen;
    }
    if (nBoundary >= nTo || !IsBlank(m_p[nBoundary])) return nBoundary;
    if (InsidePair(nBoundary) || !DotEnds(nDot, nBoundary)) return nBoundary;
    Cut(nBoundary);
    size_t nNext = SkipSpaces(m_p, nBoundary, nTo);
    if (nNext < nTo) Begin(nNext);
    return nNext;
}

void ReaderPass::AtBoundary(const Span& span, const Span& next) {
    if (m_nStart == kNoSentence) return;  // a '.' ended it, and only whitespace followed
    SentenceEnd end = EndOfSentence(m_p, span.nStart, span.nEnd, m_nEncode);
    if (end == SentenceEnd::kWide && EndsHere(next)) {
        m_nPos = span.nEnd;
        Cut(span.nEnd);
        return;
    }
    size_t nBoundary = span.nEnd, nRun = MovedCloserRun(m_p, end, span, next, m_nEncode);
    while (nBoundary < span.nEnd + nRun) nBoundary += FeedCloser(nBoundary, span.nEnd + nRun);
    m_nPos = nBoundary;
    if (end == SentenceEnd::kDot) {
        if (size_t nItem = ItemAt(span.nEnd - 1); nItem != kNoSentence) {
            CutBefore(nItem);  // and the item goes on past the '.'
            return;
        }
    }
    if (!GoesOn(end, nBoundary, nRun > 0, next)) Cut(nBoundary);
}

// Most boundaries behind a full-width mark: no pair is open, and next starts
// with a character that is neither a closer, which would move back, nor an
// end mark, which would join the run. The sentence ends right there, as
// GoesOn would tell.
bool ReaderPass::EndsHere(const Span& next) const {
    size_t nLen;
    return m_open.Depth() == 0 && !CharFlags(m_p + next.nStart, m_p + next.nEnd, m_nEncode, nLen);
}

// Whether the sentence goes on past the splitter's end of kind end, at
// nBoundary behind its closers.
bool ReaderPass::GoesOn(SentenceEnd end, size_t nBoundary, bool bMoved, const Span& next) {
    if (end == SentenceEnd::kLine || end == SentenceEnd::kNone) return false;
    if (InsidePair(nBoundary)) return true;
    // A run of end marks: the next sentence starts with one, right here.
    if (!bMoved && next.nStart == nBoundary &&
        EndMarkLength(m_p + nBoundary, m_p + next.nEnd, m_nEncode))
        return true;
    if (end == SentenceEnd::kWide) return false;
    if (end == SentenceEnd::kDot) return !DotEnds(nBoundary - 1, nBoundary);
    size_t nNext = NextVisible(nBoundary);
    return nNext < m_n && IsSmallLatin(m_p[nNext]);
}

bool ReaderPass::InsidePair(size_t nBoundary) {
    if (m_open.Depth() == 0) return false;
    if (nBoundary < m_nOpenUntil) return true;
    size_t nClose = FindClose(nBoundary);
    if (nClose == kNoSentence) return false;
    m_nOpenUntil = nClose;
    return true;
}

// Where a pair open at nBoundary closes, read as the scan will read it, when
// that is on the same line within kPairLookAhead bytes; else kNoSentence.
size_t ReaderPass::FindClose(size_t nBoundary) {
    OpenPairs pairs = m_open;
    size_t nDepth = pairs.Depth(), nTo = std::min(m_n, nBoundary + kPairLookAhead);
    for (size_t i = nBoundary;;) {
        PairMark m;
        i = NextStop(i, nTo, m);
        if (i >= nTo || IsLineEnd(m_p[i])) return kNoSentence;
        if (!m.nLen) {
            ++i;
            continue;
        }
        Feed(i, m, pairs);
        i += m.nLen;
        if (pairs.Depth() < nDepth) return i;
    }
}

size_t ReaderPass::NextVisible(size_t nPos) const {
    size_t nLast = std::min(m_n, nPos + kMaxBlanks);
    while (nPos < nLast && IsBlank(m_p[nPos])) ++nPos;
    return nPos;
}

// Whether the '.' at nDot, with its closers up to nBoundary and blanks after,
// ends the sentence.
bool ReaderPass::DotEnds(size_t nDot, size_t nBoundary) const {
    size_t nNext = NextVisible(nBoundary);
    if (nNext >= m_n || IsSpace(m_p[nNext])) return true;  // the line or the text ends
    // A small word, or the next dot of ". . .", goes on.
    if (IsSmallLatin(m_p[nNext]) || m_p[nNext] == '.') return false;
    DotContext dot = {m_p, m_nStart, WordFloor(nDot), nDot, nNext, m_n};
    return DotEndsSentence(dot, m_abbreviations);
}

}  // namespace

void ApplyReader(const char* p, size_t n, int nEncode, const Abbreviations& abbreviations,
                 std::vector<Span>& vSpans) {
    ReaderPass(p, n, nEncode, abbreviations, vSpans).Run();
}

size_t ReaderLookAhead() {
    // The closer of an open pair is the farthest thing read; the character
    // after the blanks and its word lie well within it.
    static_assert(kMaxBlanks + kMaxNextWord + 1 < kPairLookAhead,
                  "the pair look-ahead is the longest");
    return kPairLookAhead;
}

}  // namespace varnel_host
