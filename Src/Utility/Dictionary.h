// Word lookups in tables held by the caller, and splitting a name into its
// stem and the postfix that ends it.
//
// Tables are arrays of NUL-terminated byte strings, owned by the caller and
// only read. Lengths and positions are in bytes; GBK and ASCII text are
// treated alike and character boundaries are not checked. Nothing here
// reports an error: empty tables and counts of zero or less give the
// not-found results (-1, false, 0).
#ifndef VARNEL_UTILITY_DICTIONARY_H
#define VARNEL_UTILITY_DICTIONARY_H

#include <cstddef>

// The single-character postfixes of PostfixSplit: 99 GBK characters in
// ascending code order, one string.
extern const char sSinglePostfix[199];

// The postfixes of two to four characters of PostfixSplit, 50 of them in
// ascending byte order, then an empty slot that ends the table. The first
// that ends a word wins; "公路" stands after "高速公路".
extern const char sMultiPostfix[51][100];

// Binary search of a table sorted ascending with ASCII letters compared as
// lower case and every other byte by its unsigned value. Returns the index of
// an entry equal to sVal under that order, or -1; with duplicates, whichever
// copy is probed first.
int BinarySearch(const char* sVal, const char** sTable, int nTableLen);

// True when one of the first nSize entries of pList, in any order, equals
// sElement exactly (case-sensitive).
bool IsExists(const char* sElement, const char** pList, int nSize);

// Among the entries nStartPos to nEndPos (inclusive) of a table sorted by
// unsigned byte value, the index of the shortest entry whose first nWordLen
// bytes equal those of sWord; -1 when there is none, the range is empty or
// pWordList is null. Ties go to the entry found first by the binary search,
// then to the nearest one below it, then to the nearest one above.
long BinaryPrefixSearch(const char* sWord, size_t nWordLen, const char** pWordList,
                        size_t nStartPos, size_t nEndPos);

// Forward maximum matching: the length of the longest entry of the table
// (sorted by unsigned byte value) that sLine begins with, or 0 when none
// does. *pRuleId receives that entry's index, or -1; pRuleId may be null.
size_t MaxMatching(const char* sLine, const char** pWordList, size_t nListSize, long* pRuleId);

// The number of leading bytes that the two strings share. The result may end
// inside a two-byte character.
size_t MaxPrefix(const char* sWord1, const char* sWord2);

// Cuts sWord into a stem (into sWordRet, which needs the word's length plus
// one byte) and a known postfix such as 市, 大桥 or 自治区 (into sPostfix, at
// least 9 bytes). A multi-character postfix is tried first, in table order,
// then the word's last character against the single postfixes. Without a
// postfix sWordRet receives the whole word and sPostfix the empty string; a
// word that is a postfix alone leaves an empty stem. sWordRet may be sWord.
// Always true.
bool PostfixSplit(const char* sWord, char* sWordRet, char* sPostfix);

#endif
