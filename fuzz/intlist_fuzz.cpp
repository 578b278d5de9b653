// The sorted-list searches, Intersection, Not and MergeSelect over any
// numbers. The input is a control byte, then 32-bit values: the first is the
// value looked for and the distance, the rest make two lists and the lengths.
// Checked against the standard algorithms on the sorted lists: the searches
// find what is there; Intersection keeps the positions that the second list
// follows at the distance; Not is the multiset difference; MergeSelect picks
// the earliest of the longest greedy runs.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "IntList.h"

namespace {

const size_t kMaxLength = 0x3FFFFFFF;

void CheckSearches(int nVal, std::vector<int> vList) {
    std::sort(vList.begin(), vList.end());
    bool bPresent = std::binary_search(vList.begin(), vList.end(), nVal);
    int nFound =
        BinarySearch(nVal, vList.empty() ? nullptr : vList.data(), static_cast<int>(vList.size()));
    Check((nFound >= 0) == bPresent, "BinarySearch finds what is there");
    if (nFound >= 0) Check(vList[static_cast<size_t>(nFound)] == nVal, "BinarySearch's hit");

    std::vector<double> vDoubles(vList.begin(), vList.end());
    int nFoundDouble = BinarySearch(static_cast<double>(nVal), vDoubles);
    Check((nFoundDouble >= 0) == bPresent, "BinarySearch over doubles");

    auto itBound = std::lower_bound(vList.begin(), vList.end(), nVal);
    int nExpected = itBound == vList.end() ? -1 : static_cast<int>(itBound - vList.begin());
    Check(LocateIndex(nVal, vList) == nExpected, "LocateIndex is the first not below");
}

void CheckIntersection(std::vector<int> vPrev, std::vector<int> vNext, int nDist) {
    for (std::vector<int>* pList : {&vPrev, &vNext}) {
        std::sort(pList->begin(), pList->end());
        pList->erase(std::unique(pList->begin(), pList->end()), pList->end());
    }
    std::vector<int> vExpected{-7};
    for (int nPos : vPrev) {
        int64_t nTarget = static_cast<int64_t>(nPos) + nDist;
        if (std::binary_search(vNext.begin(), vNext.end(), nTarget)) vExpected.push_back(nPos);
    }
    std::vector<int> vResult{-7};
    Check(Intersection(vPrev, vNext, nDist, vResult) == vExpected.size() && vResult == vExpected,
          "Intersection");
}

void CheckNot(std::vector<int> vA, std::vector<int> vB) {
    std::sort(vA.begin(), vA.end());
    std::sort(vB.begin(), vB.end());
    std::vector<int> vExpected;
    std::set_difference(vA.begin(), vA.end(), vB.begin(), vB.end(), std::back_inserter(vExpected));
    bool bChanged = vExpected.size() != vA.size();
    Check(Not(vA, vB) == bChanged && vA == vExpected, "Not is the multiset difference");
}

// The count of the greedy run that starts at nStart.
size_t RunLength(const std::vector<size_t>& vLength, size_t nStart, bool bBalanced) {
    size_t nTotal = vLength[nStart];
    size_t nMin = vLength[nStart];
    size_t j = nStart + 1;
    for (; j < vLength.size(); ++j) {
        size_t n = vLength[j];
        if (n > kMaxLength || nTotal + n > kMaxLength) break;
        if (bBalanced && n > 0x13FFFFF && !IsBalancedValue(n, nMin) &&
            !IsBalancedValue(n, nTotal)) {
            break;
        }
        nTotal += n;
        nMin = std::min(nMin, n);
    }
    return j - nStart;
}

void CheckMergeSelect(std::vector<size_t> vLength, bool bBalanced) {
    int nSize = -1;
    int nStart = MergeSelect(vLength, nSize, bBalanced);
    if (vLength.size() <= 1) {
        Check(nStart == 0 && nSize == 0, "fewer than two lengths give 0 and 0");
        return;
    }
    size_t nBestStart = 0;
    size_t nBest = 0;
    for (size_t i = 0; i < vLength.size(); ++i) {
        size_t nCount = RunLength(vLength, i, bBalanced);
        if (nCount > nBest) {
            nBest = nCount;
            nBestStart = i;
        }
    }
    Check(nStart == static_cast<int>(nBestStart) && nSize == static_cast<int>(nBest),
          "MergeSelect picks the earliest longest run");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    InputReader input(pData, nSize);
    uint8_t nControl = input.TakeByte();
    int nVal = static_cast<int>(input.TakeUint32());
    std::vector<int> vValues;
    while (input.Left() >= 4) vValues.push_back(static_cast<int>(input.TakeUint32()));
    size_t nHalf = vValues.size() / 2;
    std::vector<int> vFirst(vValues.begin(), vValues.begin() + nHalf);
    std::vector<int> vSecond(vValues.begin() + nHalf, vValues.end());
    // Small distances meet often; the control byte's high bit takes any.
    int nDist = (nControl & 0x80) ? nVal : static_cast<int>(nControl & 0x0F) - 8;

    CheckSearches(nVal, vValues);
    CheckIntersection(vFirst, vSecond, nDist);
    CheckNot(vFirst, vSecond);
    // Lengths up to a few times the limits, so that every rule is met.
    std::vector<size_t> vLength;
    for (int n : vValues) vLength.push_back(static_cast<uint32_t>(n) >> (nControl & 0x07));
    CheckMergeSelect(vLength, (nControl & 0x40) != 0);
    return 0;
}
