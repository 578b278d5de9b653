// A copy for texts larger than the caches.
#ifndef VARNEL_VARNEL_COPYPASTCACHES_H
#define VARNEL_VARNEL_COPYPASTCACHES_H

#include <cstddef>

namespace varnel {

// Copies nBytes from pSrc to pDest, which must not overlap, writing around
// the caches where the processor can: an ordinary store first reads the
// destination's line from memory, a third trip through memory for each byte
// that is then read again from memory anyway; and the caches keep what was
// there, such as the head of the same copy. Elsewhere it is memcpy.
void CopyPastCaches(char* pDest, const char* pSrc, size_t nBytes);

}  // namespace varnel

#endif
