// The sentence splitter: hands a text back one sentence per call.
#ifndef VARNEL_VARNEL_SENTENCES_H
#define VARNEL_VARNEL_SENTENCES_H

#include <cstddef>

#include "Scanner.h"

// Cuts a text into sentences in place, inside its own copy of the text.
//
// A sentence ends after "。", "！" or "？" (GBK or UTF-8), after '?', '!', CR or
// LF, and after a '.' that a blank or the end of the text follows when every
// character of the sentence so far is one byte long. Whitespace in front of a
// sentence is skipped. Each sentence is ended by one NUL written over the byte
// behind it; that byte is put back on the next call.
//
// The copy's buffer is kept for the next text when that text fits and leaves
// no more than 1 MB of it unused. One thread at a time may use an instance.
class CSentences {
  public:
    CSentences();
    ~CSentences();
    CSentences(const CSentences&) = delete;
    CSentences& operator=(const CSentences&) = delete;

    // With sText: copies it (encode 1 is UTF-8, any other value GBK) and
    // returns its first sentence. With null: returns the next sentence of the
    // current text; encode is ignored. Returns the empty string when nothing
    // is left, before any text, and when the copy cannot be allocated. The
    // result stays valid until the next call or the destruction.
    const char* GetSentence(const char* sText, int encode);

  private:
    __attribute__((noinline)) const char* FirstSentence(const char* sText, int encode);
    bool TakeText(const char* sText, int encode);
    size_t CopyText(const char* sText);
    const char* CutNextSentence(char* pStart);
    __attribute__((noinline)) const char* CutBeyondWindow(char* pStart);
    const char* Cut(char* pStart, size_t nLen);
    void MarkExhausted();

    char* m_sText;          // own copy of the current text; null when none
    char* m_pNextSentence;  // the last cut, or m_sNullStr before any text and once exhausted
    char m_charEnd;         // the byte the last cut overwrote
    int m_nEncode;          // 1 is UTF-8, any other value GBK
    char m_sNullStr[1];     // the empty string returned when nothing is left
    char* m_pTextEnd;       // the copy's terminator, so no call measures the rest again
    size_t m_nCapacity;     // bytes allocated for m_sText, kept for the next text that fits
    varnel::ScanBlock m_scanBlock;  // what the fast scan knows of the window it last read
};

#endif
