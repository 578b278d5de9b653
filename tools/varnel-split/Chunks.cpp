#include "Chunks.h"

#include "ScanRules.h"
#include "Varnel.h"

namespace {

using varnel::Utf8Length;

// A lead byte up to five bytes back may take the line feed into its character.
bool Utf8LineFeedIsBoundary(const unsigned char* p, size_t i) {
    for (size_t k = 1; k <= 5 && k <= i; ++k)
        if (Utf8Length(p[i - k]) > k) return false;
    return true;
}

// In GBK a run of high bytes pairs up from its start, which follows an ASCII
// byte or the start of p; a run of odd length takes the line feed as its last
// second byte.
bool GbkLineFeedIsBoundary(const unsigned char* p, size_t i) {
    size_t nRun = 0;
    while (nRun < i && p[i - 1 - nRun] >= 0x80) ++nRun;
    return nRun % 2 == 0;
}

}  // namespace

size_t SafeCutLength(const char* sText, size_t n, int nEncode) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText);
    for (size_t i = n; i > 0; --i) {
        unsigned char c = p[i - 1];
        if (c == '\0') return i;
        if (c != '\n') continue;
        bool bBoundary = nEncode == VN_ENCODE_UTF8 ? Utf8LineFeedIsBoundary(p, i - 1)
                                                   : GbkLineFeedIsBoundary(p, i - 1);
        if (bBoundary) return i;
    }
    return 0;
}
