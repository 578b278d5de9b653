// Searches and set operations on ascending lists of numbers, and the choice of
// a run of lengths to merge. The lists belong to the caller; their order is
// not checked, and on an unsorted list the results follow the same steps.
#ifndef VARNEL_UTILITY_INTLIST_H
#define VARNEL_UTILITY_INTLIST_H

#include <cstddef>
#include <vector>

// Binary search for nVal among the nTableLen ascending values of nTable (not
// read when nTableLen is 0 or less). Returns the index of an equal element
// (among equal ones, the first that the halving meets), or -1.
int BinarySearch(int nVal, int* nTable, int nTableLen);

// The same over an ascending vector of doubles, with exact equality; a NaN is
// never found.
int BinarySearch(double nVal, std::vector<double>& vecTable);

// The first index whose value is at least nDocID, or -1 when every value is
// smaller: on ascending bucket upper bounds, the bucket that holds nDocID.
int LocateIndex(int nDocID, std::vector<int>& vecMaxDocID);

// Appends to vecIntersectList (not cleared first) every value p of
// vecPrevList for which p + nDist occurs in vecNextList, matching the two
// ascending lists pairwise. Returns the size of vecIntersectList afterwards.
size_t Intersection(std::vector<int>& vecPrevList, std::vector<int>& vecNextList, int nDist,
                    std::vector<int>& vecIntersectList);

// Erases from the ascending vecListA the values of the ascending vecListB,
// one element of vecListA per element of vecListB. True when anything was
// erased.
bool Not(std::vector<int>& vecListA, std::vector<int>& vecListB);

// True when nVal1 lies within a factor of ten of nVal2:
// nVal2 / 10 <= nVal1 <= nVal2 * 10 (integer division).
bool IsBalancedValue(size_t nVal1, size_t nVal2);

// Chooses the longest run of consecutive lengths of vecLength that may be
// merged: each length after the run's first is at most 0x3FFFFFFF and keeps
// the run's total at most 0x3FFFFFFF, and with bBalanced it is also at most
// 0x13FFFFF or balanced against the run's smallest length or its total. Each
// run is built greedily from its start; on equal counts the earlier start
// wins. Returns the start and sets nSize to the run's count; with fewer than
// two lengths, returns 0 with nSize 0.
int MergeSelect(std::vector<size_t>& vecLength, int& nSize, bool bBalanced);

#endif
