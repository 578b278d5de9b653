#include "Closers.h"

namespace varnel_host {

void AttachClosers(const char* p, int nEncode, std::vector<Span>& vSpans) {
    size_t nOut = 0;
    Span prev = {0, 0};  // the splitter's sentence before, as the splitter gave it
    for (size_t i = 0; i < vSpans.size(); ++i) {
        Span span = vSpans[i];
        // A sentence that lost everything to the closers ended at a line end
        // or the end of the text, so nothing moves onto it.
        size_t nRun = i > 0 && nOut > 0 && vSpans[nOut - 1].nEnd == prev.nEnd
                          ? MovedCloserRun(p, EndOfSentence(p, prev.nStart, prev.nEnd, nEncode),
                                           prev, span, nEncode)
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
