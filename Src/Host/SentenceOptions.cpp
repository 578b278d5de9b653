#include "SentenceOptions.h"

namespace varnel_host {

// TODO(closers, reader): the rules are being written; until they land every
// option leaves the library's sentences as they are.
void ApplySentenceOptions(const char*, size_t, int, const SentenceOptions&, std::vector<Span>&) {}

size_t SentenceOptionsLookAhead(const SentenceOptions&) { return 0; }

}  // namespace varnel_host
