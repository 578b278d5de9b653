// The plain scan: one character at a time, the reference the fast scan is
// tested against and the scan it leaves the ends of texts to.
#include "ScanRules.h"
#include "Scanner.h"
#include "Varnel.h"

namespace varnel {
namespace {

size_t ScanGbk(const unsigned char* p, size_t n, size_t& i, bool& bEnglish, size_t nStop) {
    while (i < nStop) {
        unsigned char c = p[i];
        if (c >= 0x80) {
            if (i + 1 < n) {
                if (IsGbkMark(p + i)) return i + 2;
                bEnglish = false;
                i += 2;
                continue;
            }
            // A high byte last in the text is a character of its own; alone,
            // A1 is found at the head of the mark table and so ends the text.
            ++i;
            return c == kGbkMarks[0][0] ? i : kNoSentenceEnd;
        }
        if (IsSingleByteMark(c) || EndsEnglishSentence(p, i, bEnglish)) return i + 1;
        ++i;
    }
    return kNoSentenceEnd;
}

size_t ScanUtf8(const unsigned char* p, size_t n, size_t& i, bool& bEnglish, size_t nStop) {
    while (i < nStop) {
        unsigned char c = p[i];
        if (c < 0x80) {
            if (IsSingleByteMark(c) || EndsEnglishSentence(p, i, bEnglish)) return i + 1;
            ++i;
            continue;
        }
        // A lead byte takes what it announces, whatever those bytes are, but
        // never more than the text still holds.
        size_t nLen = Utf8Length(c);
        if (nLen > n - i) nLen = n - i;
        if (nLen == 3 && IsUtf8Mark(p + i)) return i + 3;
        if (nLen > 1) bEnglish = false;
        i += nLen;
    }
    return kNoSentenceEnd;
}

}  // namespace

size_t ScanSentenceEnd(const char* sText, size_t nSize, int nEncode) {
    size_t nPos = 0;
    bool bEnglish = true;
    return ResumeSentenceScan(sText, nSize, nEncode, nPos, bEnglish, nSize);
}

size_t ResumeSentenceScan(const char* sText, size_t nSize, int nEncode, size_t& nPos,
                          bool& bEnglish, size_t nStop) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText);
    if (nStop > nSize) nStop = nSize;
    return nEncode == VN_ENCODE_UTF8 ? ScanUtf8(p, nSize, nPos, bEnglish, nStop)
                                     : ScanGbk(p, nSize, nPos, bEnglish, nStop);
}

}  // namespace varnel
