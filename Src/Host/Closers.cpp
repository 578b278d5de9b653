#include "Closers.h"

#include "Punctuation.h"

namespace varnel_host {

size_t MovedCloserRun(const char* p, const Span& prev, const Span& next, int nEncode) {
    if (next.nStart != prev.nEnd) return 0;  // whitespace was skipped between them
    SentenceEnd end = EndOfSentence(p, prev.nStart, prev.nEnd, nEncode);
    if (end == SentenceEnd::kNone || end == SentenceEnd::kLine) return 0;
    size_t nPos = next.nStart;
    while (size_t nLen = CloserLength(p + nPos, p + next.nEnd, nEncode)) nPos += nLen;
    return nPos - next.nStart;
}

size_t SkipSpaces(const char* p, size_t nPos, size_t nEnd) {
    while (nPos < nEnd && IsSpace(p[nPos])) ++nPos;
    return nPos;
}

void AttachClosers(const char* p, int nEncode, std::vector<Span>& vSpans) {
    size_t nOut = 0;
    Span prev = {0, 0};  // the splitter's sentence before, as the splitter gave it
    for (size_t i = 0; i < vSpans.size(); ++i) {
        Span span = vSpans[i];
        // A sentence that lost everything to the closers ended at a line end
        // or the end of the text, so nothing moves onto it.
        size_t nRun = i > 0 && nOut > 0 && vSpans[nOut - 1].nEnd == prev.nEnd
                          ? MovedCloserRun(p, prev, span, nEncode)
                          : 0;
        prev = span;
        if (nRun) {
            vSpans[nOut - 1].nEnd += nRun;
            span.nStart = SkipSpaces(p, span.nStart + nRun, span.nEnd);
            if (span.nStart == span.nEnd) continue;
        }
        vSpans[nOut++] = span;
    }
    vSpans.resize(nOut);
}

}  // namespace varnel_host
