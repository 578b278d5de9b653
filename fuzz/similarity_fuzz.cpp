// ComputeSim over any two strings, null ones included. The first byte's low
// bits make either string null; the rest is the first string, a NUL, then the
// second. Checked: the score is a number, never negative, 1 for a string and
// itself, the length ratio for a string found inside the other, and never above
// the larger of 1 and that ratio.
#include <cmath>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "Similarity.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    if (nSize == 0) return 0;
    std::string sInput(reinterpret_cast<const char*>(pData + 1), nSize - 1);
    size_t nNul = sInput.find('\0');
    ExactText first(sInput.substr(0, nNul));
    ExactText second(nNul == std::string::npos ? "" : UpToNul(sInput.substr(nNul + 1)));
    const char* sStr1 = (pData[0] & 1) ? nullptr : first.get();
    const char* sStr2 = (pData[0] & 2) ? nullptr : second.get();

    double dScore = ComputeSim(sStr1, sStr2);
    Check(std::isfinite(dScore) && dScore >= 0.0, "a finite score, not negative");
    if (!sStr1 || !sStr2 || !*sStr1 || !*sStr2) return 0;

    double dLen1 = static_cast<double>(first.size());
    double dLen2 = static_cast<double>(second.size());
    Check(dScore <= std::max(1.0, dLen1 / dLen2) + 1e-9, "bounded by the length ratio");
    Check(ComputeSim(sStr1, sStr1) == 1.0, "a string is like itself");
    if (strstr(sStr2, sStr1) && strcasecmp(sStr1, sStr2) != 0) {
        Check(dScore == dLen1 / dLen2, "a contained string scores its length ratio");
    }
    return 0;
}
