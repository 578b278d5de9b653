// Numbers written in Chinese characters, and number words that can stand for
// a year or a day of the month.
//
// Words are GBK strings; membership of a two-byte character in a set is
// decided with CC_Find, which matches whole characters only. Where a length
// parameter is 0 the word's length up to its NUL is used. Nothing here
// reports an error beyond its result.
#ifndef VARNEL_UTILITY_CHINESENUMBER_H
#define VARNEL_UTILITY_CHINESENUMBER_H

#include <cstddef>

// True when the first nLen bytes are Chinese numeral characters
// (零○一二两三四五六七八九十廿百千万亿壹贰叁肆伍陆柒捌玖拾佰仟兆∶·．／点几上成),
// with an optional leading 数 or 第 and any number of "分之" (as in 三分之一).
// The characters must lie wholly inside the nLen bytes: a byte left over
// makes the result false. The empty word is true.
bool IsAllChineseNum(char* sWord, size_t nLen);

// Converts one Chinese digit character to its ASCII digit: 零○ 0, 一壹 1,
// 二两贰 2, 三叁 3, 四肆 4, 五 5, 六 6, 七 7, 八 8, 九玖 9. 十百千万 are known
// but give no digit: sNum is then empty and the result true. Anything else,
// including a string that is not exactly one two-byte character, gives false
// and an empty sNum. sNum needs room for 2 bytes.
bool ChineseNum2Digit(const char* sChineseNum, char* sNum);

// Converts a string digit by digit with ChineseNum2Digit ('一百二十三' gives
// '123'). False at the first character it does not know; sNum then holds the
// digits converted before it. sNum needs one byte per character plus the NUL.
bool ChineseNumStr2Digit(const char* sChineseNum, char* sNum);

// True when the number word (its first `length` bytes; the whole word when
// `length` is 0 or less) can denote a year: Chinese year digits only, of two
// or more characters ('二〇〇八'); four single-byte characters, or two whose
// first is above '4' ('1998', '98'); a number expression longer than five
// bytes, or two full-width digits from ５ up ('１９９８', '９８'); four
// characters two of which are 千仟零〇○ ('二千零八'); or 千 or 仟 alone.
bool IsYearTime(const char* sNum, int length);

// True when the number word can denote a day of the month: up to three
// characters, all Chinese, capital or full-width digits or 十 ('二十三',
// '３１'), or up to two ASCII digits. The empty word is true.
bool IsDayTime(const char* sNum, unsigned int nLen);

#endif
