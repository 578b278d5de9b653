#include "SentenceSpans.h"

#include <cstdint>
#include <cstring>

#include "Varnel.h"

namespace varnel_python {

namespace {

// Makes room for the sentences of nBytes more of text. Most prose has a
// sentence every 30 to 70 bytes; growing from there costs fewer copies, and
// reserved pages that are never touched cost nothing.
void ReserveSpans(std::vector<Span>& vSpans, size_t nBytes) {
    vSpans.reserve(vSpans.size() + nBytes / 24 + 1);
}

// The sentences of the piece at p + nOffset, as offsets into p.
bool AppendLibrarySpans(CSentences& splitter, const char* p, size_t nOffset, int nEncode,
                        std::vector<Span>& vSpans) {
    return ForEachLibrarySentence(splitter, p + nOffset, nEncode, [&](const Span& span) {
        vSpans.push_back({nOffset + span.nStart, nOffset + span.nEnd});
    });
}

bool AppendPieceSpans(CSentences& splitter, const char* p, size_t nOffset, size_t nLen, int nEncode,
                      const SentenceOptions& options, std::vector<Span>& vSpans) {
    if (!options.Any()) return AppendLibrarySpans(splitter, p, nOffset, nEncode, vSpans);
    // The first piece, most often the whole text, is rewritten where it lies.
    if (vSpans.empty() && nOffset == 0) {
        if (!AppendLibrarySpans(splitter, p, 0, nEncode, vSpans)) return false;
        varnel_host::ApplySentenceOptions(p, nLen, nEncode, options, vSpans);
        return true;
    }
    std::vector<Span> vPiece;
    ReserveSpans(vPiece, nLen);
    if (!AppendLibrarySpans(splitter, p + nOffset, 0, nEncode, vPiece)) return false;
    varnel_host::ApplySentenceOptions(p + nOffset, nLen, nEncode, options, vPiece);
    for (const Span& span : vPiece) vSpans.push_back({nOffset + span.nStart, nOffset + span.nEnd});
    return true;
}

constexpr uint64_t kHighBits = 0x8080808080808080ull;

// How many of the eight bytes of w have their high bit set, summed by one
// multiplication into the top byte.
inline size_t CountHighBits(uint64_t w) {
    return static_cast<size_t>((((w & kHighBits) >> 7) * 0x0101010101010101ull) >> 56);
}

inline uint64_t Word(const unsigned char* p) {
    uint64_t w;
    memcpy(&w, p, 8);
    return w;
}

// Every byte but the continuation bytes (10xxxxxx) starts a character.
size_t CountUtf8Characters(const unsigned char* p, size_t n) {
    size_t nContinuation = 0, i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w = Word(p + i);
        nContinuation += CountHighBits(w & ~(w << 1));
    }
    for (; i < n; ++i) nContinuation += (p[i] & 0xC0) == 0x80;
    return n - nContinuation;
}

// A byte of 0x80 or above takes the next byte, whatever it is (a second byte
// may be ASCII: 丂 is 81 40), so the pairs are walked; runs of ASCII go by
// eight at a time.
size_t CountGbkCharacters(const unsigned char* p, size_t n) {
    size_t nCount = 0, i = 0;
    while (i < n) {
        if (i + 8 <= n && (Word(p + i) & kHighBits) == 0) {
            i += 8;
            nCount += 8;
            continue;
        }
        i += p[i] >= 0x80 ? 2 : 1;
        ++nCount;
    }
    return nCount;
}

}  // namespace

bool CollectSentenceSpans(CSentences& splitter, const char* p, size_t n, int nEncode,
                          const SentenceOptions& options, std::vector<Span>& vSpans) {
    ReserveSpans(vSpans, n);
    size_t nPos = 0;
    while (nPos < n) {
        const void* pNul = memchr(p + nPos, 0, n - nPos);
        size_t nEnd = pNul ? static_cast<size_t>(static_cast<const char*>(pNul) - p) : n;
        if (!AppendPieceSpans(splitter, p, nPos, nEnd - nPos, nEncode, options, vSpans))
            return false;
        nPos = nEnd + 1;
    }
    return true;
}

void ToCharacterSpans(const char* sText, int nEncode, std::vector<Span>& vSpans) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText);
    size_t (*count)(const unsigned char*, size_t) =
        nEncode == VN_ENCODE_UTF8 ? CountUtf8Characters : CountGbkCharacters;
    size_t nByte = 0, nChar = 0;
    auto advance = [&](size_t nTo) {
        nChar += count(p + nByte, nTo - nByte);
        nByte = nTo;
        return nChar;
    };
    for (Span& span : vSpans) {
        span.nStart = advance(span.nStart);
        span.nEnd = advance(span.nEnd);
    }
}

}  // namespace varnel_python
