// Characters of transliterated foreign names.
//
// Chinese text writes foreign personal names with a limited repertoire of
// characters. Three fixed repertoires are kept, each a GBK string of two-byte
// characters; a character belongs to one when CC_Find finds it there, so only
// whole characters of the set match. CC_Find looks only at the first
// occurrence of a byte pair, so a member whose bytes first occur across two
// neighbouring members is never recognised (丝 文 夏 辛 伊 雍 治 赖 逊 芙 迦 in
// set 0, 敬 未 夏 植 in set 2). Words are NUL-terminated GBK strings; the
// functions only read and report nothing.
#ifndef VARNEL_UTILITY_FOREIGNNAME_H
#define VARNEL_UTILITY_FOREIGNNAME_H

#include <cstddef>

// The repertoires, indexed by the type that GetForeignType returns: 0 Western
// names (382 characters, led by the name separator "·" and the dash "—"), 1
// Russian names (125, led by "·"), 2 Japanese names (252).
extern const char* const g_sForeignCharSet[3];

// The number of characters among the first nLen bytes of sWord (the whole
// word when nLen is 0) that belong to sCharSet. A two-byte character belongs
// when CC_Find finds it in the set, and is read whole even when it starts at
// the last byte of the scan length; a single byte belongs when it occurs in
// the set. A lead byte that the end of the word cuts off belongs to no set.
size_t GetCharCount(const char* sCharSet, const char* sWord, size_t nLen);

// The foreign-character count: the largest of the word's counts in the three
// repertoires.
size_t GetForeignCharCount(char* sWord);

// The type of the repertoire that covers most characters of the word. Ties go
// to the lower type, and a word without any such character is type 0.
int GetForeignType(const char* sWord);

// True when every character of the word belongs to the one repertoire that
// covers most of them (twice the foreign-character count is the word's byte
// length). The empty word is true.
bool IsAllForeign(char* sWord);

// True when the word counts as a transliterated foreign name. A word of more
// than two bytes does when the characters of its best repertoire make up more
// than half of its bytes (4 * count > length); a word of at most two bytes
// when its count is at least half its length, so a single two-byte character
// must belong to a repertoire, and the empty and one-byte words are true.
bool IsForeign(char* sWord);

#endif
