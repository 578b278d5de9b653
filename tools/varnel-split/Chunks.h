// Where varnel-split may cut its input into parts that split exactly as the
// whole input does.
#ifndef VARNEL_SPLIT_CHUNKS_H
#define VARNEL_SPLIT_CHUNKS_H

#include <cstddef>

// The length of the longest prefix of p[0..n) that ends right after a NUL (a
// text ends there) or after a line feed that is certainly a character
// boundary (it ends a sentence, so the rest starts a sentence of its own); 0
// when there is none. p[0] must start a character. nEncode is 1 for UTF-8,
// any other value for GBK.
size_t SafeCutLength(const char* p, size_t n, int nEncode);

#endif
