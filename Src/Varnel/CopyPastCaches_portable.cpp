// Without the x86 streaming stores: the ordinary copy.
#include <cstring>

#include "CopyPastCaches.h"

namespace varnel {

void CopyPastCaches(char* pDest, const char* pSrc, size_t nBytes) { memcpy(pDest, pSrc, nBytes); }

}  // namespace varnel
