#include "IntList.h"

#include <cstdint>

namespace {

const size_t kMaxMergedLength = 0x3FFFFFFF;
// A length this small joins any balanced run.
const size_t kAlwaysBalancedLength = 0x13FFFFF;

template <typename T>
int SearchAscending(T nVal, const T* pTable, int nLen) {
    int nStart = 0;
    int nEnd = nLen - 1;
    while (nStart <= nEnd) {
        int nMid = nStart + (nEnd - nStart) / 2;
        if (pTable[nMid] == nVal) return nMid;
        if (pTable[nMid] < nVal) {
            nStart = nMid + 1;
        } else {
            nEnd = nMid - 1;
        }
    }
    return -1;
}

bool FitsInRun(size_t nLength, size_t nTotalLength) {
    return nLength <= kMaxMergedLength && nTotalLength <= kMaxMergedLength - nLength;
}

bool JoinsBalancedRun(size_t nLength, size_t nMinLength, size_t nTotalLength) {
    return nLength <= kAlwaysBalancedLength || IsBalancedValue(nLength, nMinLength) ||
           IsBalancedValue(nLength, nTotalLength);
}

// The count of the run that the greedy extension builds from nStart.
int RunLengthFrom(const std::vector<size_t>& vecLength, size_t nStart, bool bBalanced) {
    size_t nTotalLength = vecLength[nStart];
    size_t nMinLength = vecLength[nStart];
    int nCount = 1;
    for (size_t j = nStart + 1; j < vecLength.size(); ++j) {
        size_t nLength = vecLength[j];
        if (!FitsInRun(nLength, nTotalLength)) break;
        if (bBalanced && !JoinsBalancedRun(nLength, nMinLength, nTotalLength)) break;
        nTotalLength += nLength;
        if (nLength < nMinLength) nMinLength = nLength;
        ++nCount;
    }
    return nCount;
}

}  // namespace

int BinarySearch(int nVal, int* nTable, int nTableLen) {
    return SearchAscending(nVal, nTable, nTableLen);
}

int BinarySearch(double nVal, std::vector<double>& vecTable) {
    return SearchAscending(nVal, vecTable.data(), static_cast<int>(vecTable.size()));
}

int LocateIndex(int nDocID, std::vector<int>& vecMaxDocID) {
    for (size_t i = 0; i < vecMaxDocID.size(); ++i)
        if (vecMaxDocID[i] >= nDocID) return static_cast<int>(i);
    return -1;
}

size_t Intersection(std::vector<int>& vecPrevList, std::vector<int>& vecNextList, int nDist,
                    std::vector<int>& vecIntersectList) {
    size_t i = 0;
    size_t j = 0;
    while (i < vecPrevList.size() && j < vecNextList.size()) {
        // Wide enough that a position near the int limit plus nDist cannot wrap.
        int64_t nTarget = static_cast<int64_t>(vecPrevList[i]) + nDist;
        if (nTarget < vecNextList[j]) {
            ++i;
        } else if (nTarget > vecNextList[j]) {
            ++j;
        } else {
            vecIntersectList.push_back(vecPrevList[i]);
            ++i;
            ++j;
        }
    }
    return vecIntersectList.size();
}

bool Not(std::vector<int>& vecListA, std::vector<int>& vecListB) {
    bool bChanged = false;
    auto it = vecListA.begin();
    size_t j = 0;
    while (it != vecListA.end() && j < vecListB.size()) {
        if (*it < vecListB[j]) {
            ++it;
        } else if (*it > vecListB[j]) {
            ++j;
        } else {
            it = vecListA.erase(it);
            ++j;
            bChanged = true;
        }
    }
    return bChanged;
}

bool IsBalancedValue(size_t nVal1, size_t nVal2) {
    // nVal2 * 10 saturates instead of wrapping for lengths beyond SIZE_MAX / 10.
    bool bNotAbove = nVal2 > SIZE_MAX / 10 || nVal1 <= nVal2 * 10;
    return nVal2 / 10 <= nVal1 && bNotAbove;
}

int MergeSelect(std::vector<size_t>& vecLength, int& nSize, bool bBalanced) {
    size_t n = vecLength.size();
    nSize = 0;
    if (n <= 1) return 0;
    int nChosen = -1;
    for (size_t i = 0; i < n; ++i) {
        // No run from here on can be longer than the chosen one.
        if (static_cast<size_t>(nSize) + i >= n) break;
        int nCount = RunLengthFrom(vecLength, i, bBalanced);
        if (nChosen >= 0 && nCount <= nSize) continue;
        nChosen = static_cast<int>(i);
        nSize = nCount;
        if (i + static_cast<size_t>(nSize) >= n) break;
    }
    return nChosen;
}
