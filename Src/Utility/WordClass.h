// Word-class predicates and word normalisers for GBK text.
//
// A word is a NUL-terminated GBK byte string. Classes go by the byte ranges of
// the GB2312 code space: first byte 0xB0-0xF7 Chinese characters, 0xA1
// full-width symbols, 0xA2 index numerals, 0xA3 full-width forms of ASCII
// (digits A3 B0-B9, capitals A3 C1-DA, small letters A3 E1-FA). Bytes below
// 0x80 are single-byte characters. Second bytes are checked only where a
// comment says so. Where a length parameter is 0, the word's length up to its
// NUL is used. The predicates only read; the normalisers rewrite the caller's
// buffer in place.
#ifndef VARNEL_UTILITY_WORDCLASS_H
#define VARNEL_UTILITY_WORDCLASS_H

#include <cstddef>

// True when the word is a run of two-byte units whose first bytes are all
// 0xB0-0xF7. The empty word is true, a word of odd length false.
bool IsAllChinese(unsigned char* sString);

// True when no character of the word has a first byte in 0xB0-0xF7.
bool IsAllNonChinese(unsigned char* sString);

// True when none of the first `length` bytes has its high bit set. A nonzero
// length is taken as given: the bytes are read whatever they are.
bool IsAllSingleByte(unsigned char* sString, size_t length);

// True when the word is a run of index numerals (first byte 0xA2) followed by
// a run of ASCII letters; either run may be empty.
bool IsAllIndex(unsigned char* sString);

// True when every character is a full-width capital or small letter.
bool IsAllLetter(unsigned char* sString);

// True when every two-byte unit has first byte 0xA1 or 0xA3 (full-width
// symbols, and full-width digits and letters with them).
bool IsAllDelimiter(unsigned char* sString);

// True when the string is exactly one byte that is an ASCII delimiter: tab,
// CR, LF, blank or one of .,(){}[]:;"'<>?/~@#$%^&*_-+=
bool IsDelimiter(const char* sChar);

// True when the first nLen bytes form one number expression: an optional
// sign (+ - ± — ＋ 第); full-width digits, optionally a separator (. / ∶ · ．
// ／) and more full-width digits; ASCII digits, optionally a separator and
// more ASCII digits; then either one percent sign (% ％ ‰) or a run of units
// (百千万亿佰仟兆). Every part may be empty, so the empty word, a lone sign and
// a lone run of units are numbers. A separator never stands first.
bool IsAllNum(unsigned char* sString, size_t nLen);

// Rewrites the word to its comparable form and returns sWord: ASCII and
// full-width letters become ASCII small letters, full-width digits ASCII
// digits, Chinese characters (first byte 0xB0 or above, second 0xA1 or above)
// stay; everything else is dropped. The result is never longer than the word.
char* WordStandard(char* sWord);

// Removes leading and trailing white space (blank, tab, CR, LF) and turns
// each run of it inside into one blank; returns sStr, or null for null.
char* StrNormalize(char* sStr);

#endif
