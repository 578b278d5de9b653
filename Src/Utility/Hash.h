// String hashes, and integers packed into byte buffers.
//
// Every hash takes a NUL-terminated byte string, accepts any bytes and gives 0
// for the empty string.
//
// Compressed integers take one to four bytes, most significant first; the top
// two bits of the first byte give the length:
//   00  1 byte   0 .. 0x3F
//   01  2 bytes  0x40 .. 0x3FFF
//   10  3 bytes  0x4000 .. 0x3FFFFF
//   11  4 bytes  0x400000 .. 0x3FFFFFFF
// Negative values and values above 0x3FFFFFFF have no encoding.
#ifndef VARNEL_UTILITY_HASH_H
#define VARNEL_UTILITY_HASH_H

// The ELF (PJW) hash in 32 bits, with each byte taken as a signed value, so
// that a byte of 0x80 or above adds a negative amount; equal to the published
// hash for ASCII text.
unsigned int UrlHash(const char* pcUrl);

// UrlHash widened; never above 0x0FFFFFFF.
unsigned long ELFhash(const char* url);

// The absolute value of the sum of c * 3 * i over the signed bytes c at
// positions i = 1, 2, ...; each product wraps to 32 bits before it is added.
unsigned long _hf(const char* url);

// hash * 31 + byte over the unsigned bytes, modulo 2^64.
unsigned long Strhash(const char* str);

// The bytes XOR-folded into four: byte k goes to bits 8 * (k mod 4) upwards.
unsigned long HfIp(const char* url);

// Bits 24-31 carry the length minus one (capped at 255), plus a position-weighted
// sum over the last 96 bytes at most; ASCII letters count in lower case.
unsigned long Dorvelhash(const char* Url);

// Writes iVal in its shortest compressed form to sVal (room for 4 bytes) and
// returns the bytes written; 0, with sVal untouched, when iVal has no encoding.
int int_compress(int iVal, unsigned char* sVal);

// Reads one compressed integer from sVal into *p_iVal and returns the bytes
// read (1 to 4). Forms longer than needed are accepted.
int int_uncompress(unsigned char* sVal, int* p_iVal);

// Appends nVal as four bytes (network byte order when bNet, else the
// machine's) at offset nBufSize of the malloc'ed buffer *pBuf (null for none
// yet), which the caller frees with free. When fewer than 10 bytes would stay
// spare, the buffer is first grown with realloc to nBufSize + 1024 bytes and
// nBufMaxSize set to that. Returns the new nBufSize, or -1 when the buffer
// cannot grow (or nBufSize is negative); *pBuf, nBufSize and nBufMaxSize are
// then left as they were.
int WriteBuf(char** pBuf, int& nBufSize, int& nBufMaxSize, int nVal, bool bNet);

#endif
