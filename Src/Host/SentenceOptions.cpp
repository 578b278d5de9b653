#include "SentenceOptions.h"

#include "Closers.h"

namespace varnel_host {

void ApplySentenceOptions(const char* p, size_t, int nEncode, const SentenceOptions& options,
                          std::vector<Span>& vSpans) {
    if (options.bAttachClosers) AttachClosers(p, nEncode, vSpans);
}

size_t SentenceOptionsLookAhead(const SentenceOptions& options) {
    // Whether a closer follows a boundary: the longest closer, three bytes.
    return options.Any() ? 3 : 0;
}

}  // namespace varnel_host
