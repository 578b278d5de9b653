// The reader mode's search for the characters it stops at, 32 or 16 bytes at a
// time on x86-64 (AVX2, or SSE2 which every such processor has), byte by byte
// elsewhere.
#ifndef VARNEL_HOST_STOPSCAN_H
#define VARNEL_HOST_STOPSCAN_H

#include <cstddef>
#include <cstdint>

namespace varnel_host {

// Where a character that the reader mode stops at may start among the 64
// positions p[i..i+64) below nLimit (at most the end of the text): bit k for
// p[i + k]. The characters are '.', CR, LF, '"', '(', ')', '[', ']', and the
// wide quotes and brackets (“”‘’ 「」『』《》〈〉【】〔〕（）［］), found by
// their bytes whether or not they start a character there; a few other
// characters are found too (〒〓〖〗): the caller judges. nAscii gets bit k
// where p[i + k] is below 0x80, for GBK's character boundaries.
uint64_t FindStops(const char* p, size_t i, size_t nLimit, int nEncode, uint64_t& nAscii);

// FindStops for the nWords blocks of 64 positions from p[i] on: pStops[w]
// and pAscii[w] as FindStops gives them for p[i + 64 * w..).
void FindStopsWords(const char* p, size_t i, size_t nLimit, int nEncode, size_t nWords,
                    uint64_t* pStops, uint64_t* pAscii);

// Whether p[i] may start such a character, read one byte at a time.
bool IsStopAt(const char* p, size_t i, size_t nLimit, int nEncode);

// The bits of FindStops for the positions from k on, one byte at a time;
// adds the positions' nAscii bits.
uint64_t FindStopsOneByOne(const char* p, size_t i, size_t k, size_t nLimit, int nEncode,
                           uint64_t& nAscii);

}  // namespace varnel_host

#endif
