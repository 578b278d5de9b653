#include "SentenceOptions.h"

#include "Abbreviations.h"
#include "Closers.h"
#include "Reader.h"

namespace varnel_host {

void ApplySentenceOptions(const char* p, size_t n, int nEncode, const SentenceOptions& options,
                          std::vector<Span>& vSpans) {
    if (options.bReader) {
        const Abbreviations* pAbbreviations = options.pAbbreviations;
        ApplyReader(p, n, nEncode, pAbbreviations ? *pAbbreviations : Abbreviations::BuiltIn(),
                    vSpans);
    } else if (options.bAttachClosers) {
        AttachClosers(p, nEncode, vSpans);
    }
}

size_t SentenceOptionsLookAhead(const SentenceOptions& options) {
    if (options.bReader) return ReaderLookAhead();
    // Whether a closer follows a boundary: the longest closer, three bytes.
    return options.bAttachClosers ? 3 : 0;
}

}  // namespace varnel_host
