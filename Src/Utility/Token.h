// Tokenizers and string editing on byte strings (GBK or ASCII).
//
// Delimiters are tested byte by byte; a NUL byte is never a delimiter. Result
// vectors belong to the caller and are cleared by the function that fills them.
// Null or empty inputs give neutral results (null, false, an empty vector, 0).
#ifndef VARNEL_UTILITY_TOKEN_H
#define VARNEL_UTILITY_TOKEN_H

#include <cstddef>
#include <vector>

#include "Global.h"

// Cuts the next token from the writable string sLine: skips leading bytes of
// pSeperator, then NUL-terminates the token in place at the next separator.
// *pUnitNext receives the byte after that separator, or null when the token ran
// to the end of the string (then the token may be empty). Returns the token,
// or null when sLine is null (*pUnitNext is then left untouched).
char* StrToken(char* sLine, const char* pSeperator, char** pUnitNext);

// A tokenizer that returns, call by call, the words of a writable text and the
// delimiters between them as tokens of their own. Blanks, tabs and carriage
// returns are skipped before every token and are never tokens. Each token is
// NUL-terminated in place; the byte overwritten is put back by the next call,
// so once GetToken has returned null the text is whole again. A delimiter byte
// 0xA1 or 0xA3 followed by a byte of the full-width punctuation set makes a
// two-byte delimiter token ("，", "。" and the like).
//
// In English mode a '.' followed by a byte that is neither a delimiter nor the
// end stays inside the word ("3.14", "U.S.A"), and so does a ',' followed by
// a digit ("1,000"). The object does not own the text and must not be shared
// between threads.
class CStrToken {
  public:
    explicit CStrToken(bool bEnglish);

    // Starts a new text at pStart (ending at pEnd, or at its NUL when pEnd is
    // null), or goes on with the current one when pStart is null. With pEnd,
    // the bytes before it are not NUL and the byte at it is NUL. Returns the
    // next token, valid until the next call, or null when the text is
    // exhausted or none was started.
    char* GetToken(char* pStart, char* pEnd, const char* sDelimiter);

  private:
    bool m_bEnglish;
    bool m_bOutputSep;  // the last token was a delimiter or ran to the end
    char* m_pLineStart;
    char* m_pLineEnd;
    char m_cSep;  // the byte the last call replaced with NUL; 0 for none
    char* m_pTokenEnd;
};

// Fills vecResult with the tokens of sLine (words and delimiters, as
// CStrToken in non-English mode gives them) with trailing CR and LF bytes
// removed; tokens left empty are dropped. sLine is not modified. Returns the
// number of tokens.
size_t GetStrVector(const char* sLine, const char* pDelimiter, std::vector<tstring>& vecResult);

// Splits lpszText at every occurrence of the string lpszDelimiter (searching
// on after each whole occurrence) into vResult, dropping empty pieces; a null
// or empty delimiter gives the whole text. False for a null or empty text.
bool gfn_bSplit(const char* lpszText, std::vector<tstring>& vResult, const char* lpszDelimiter);

// Splits the whole of lpszText at every byte of lpszDelimiter into vResult,
// dropping empty pieces; an empty set gives the whole text. False for a null
// or empty text.
bool gfn_bSplitOR(const char* lpszText, std::vector<tstring>& vResult, const char* lpszDelimiter);

// Removes the leading and trailing runs of ch from s.
void trim(tstring& s, char ch);

// Removes every ch from the first nLen bytes of source, in place, filling the
// freed tail with NUL bytes. Returns the number of bytes kept; 0 for a null
// source.
unsigned int deleteChar(char* source, unsigned int nLen, char ch);

// A copy of src with every ch replaced by s (a null s counts as empty).
tstring replaceChar(const tstring& src, char ch, const char* s);

// Replaces every occurrence of sSubOld in sString by sSubNew, in place; text
// inserted is not searched again. Nothing happens for a null or empty sSubOld
// or a null sSubNew.
void gfn_vReplaceSubstr(tstring& sString, const char* sSubOld, const char* sSubNew);

#endif
