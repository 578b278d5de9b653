#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "IntList.h"

namespace {

std::string Show(const std::vector<int>& v) {
    std::string s;
    for (int x : v) s += std::to_string(x) + " ";
    return s;
}

TEST(IntList, BinarySearchFindsEveryElementAndMissesTheGaps) {
    // Every size up to 9, searched for each value present and each gap around
    // them, against a linear scan.
    for (int nLen = 0; nLen <= 9; ++nLen) {
        std::vector<int> vecTable;
        std::vector<double> vecDoubles;
        for (int i = 0; i < nLen; ++i) {
            vecTable.push_back(3 * i + 1);
            vecDoubles.push_back(3 * i + 1.5);
        }
        for (int nVal = -1; nVal <= 3 * nLen + 1; ++nVal) {
            SCOPED_TRACE(std::to_string(nLen) + " elements, value " + std::to_string(nVal));
            int nExpected = -1;
            for (int i = 0; i < nLen; ++i)
                if (vecTable[i] == nVal) nExpected = i;
            EXPECT_EQ(BinarySearch(nVal, vecTable.data(), nLen), nExpected);
            EXPECT_EQ(BinarySearch(nVal + 0.5, vecDoubles), nExpected);
        }
    }
}

TEST(IntList, BinarySearchEdges) {
    int table[] = {1, 3, 7};
    EXPECT_EQ(BinarySearch(7, table, 3), 2);
    EXPECT_EQ(BinarySearch(4, table, 3), -1);
    EXPECT_EQ(BinarySearch(1, nullptr, 0), -1);
    EXPECT_EQ(BinarySearch(1, nullptr, -5), -1);

    std::vector<double> empty;
    EXPECT_EQ(BinarySearch(0.0, empty), -1);
    std::vector<double> doubles = {-1.5, 0.0, 2.25};
    EXPECT_EQ(BinarySearch(2.25, doubles), 2);
    EXPECT_EQ(BinarySearch(2.2500001, doubles), -1);
    EXPECT_EQ(BinarySearch(std::nan(""), doubles), -1);

    // Repeated values: the element the halving meets first.
    int repeated[] = {5, 5, 5, 5, 5};
    EXPECT_EQ(BinarySearch(5, repeated, 5), 2);
}

TEST(IntList, LocateIndexFindsTheFirstBucketThatHoldsTheId) {
    std::vector<int> vecBounds = {5, 10, 20};
    struct Case {
        int id;
        int expected;
    };
    const Case cases[] = {{-3, 0}, {5, 0}, {6, 1}, {10, 1}, {11, 2}, {20, 2}, {21, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(LocateIndex(c.id, vecBounds), c.expected);
    }
    std::vector<int> empty;
    EXPECT_EQ(LocateIndex(1, empty), -1);
}

TEST(IntList, IntersectionListsPositionsFollowedAtTheDistance) {
    struct Case {
        std::vector<int> prev;
        std::vector<int> next;
        int dist;
        std::vector<int> appended;
    };
    const Case cases[] = {
        {{1, 5, 9}, {3, 7, 11}, 2, {1, 5, 9}},
        {{1, 5, 9}, {3, 7, 11}, 0, {}},
        {{1, 5, 9}, {3, 7, 11}, -2, {5, 9}},
        {{1, 2, 3, 8}, {3, 4, 10}, 2, {1, 2, 8}},
        {{}, {1}, 0, {}},
        {{4}, {}, 0, {}},
        // A sum past the int limit does not wrap round to a small number.
        {{INT32_MAX - 1, INT32_MAX}, {INT32_MIN + 1}, 3, {}},
        {{INT32_MAX - 1}, {INT32_MAX}, 1, {INT32_MAX - 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Show(c.prev) + "/ " + Show(c.next) + "at " + std::to_string(c.dist));
        std::vector<int> prev = c.prev;
        std::vector<int> next = c.next;
        std::vector<int> result = {-100};  // kept: the list is appended to
        std::vector<int> expected = {-100};
        expected.insert(expected.end(), c.appended.begin(), c.appended.end());
        EXPECT_EQ(Intersection(prev, next, c.dist, result), expected.size());
        EXPECT_EQ(result, expected);
    }
}

TEST(IntList, NotErasesOneElementPerElementOfB) {
    struct Case {
        std::vector<int> a;
        std::vector<int> b;
        std::vector<int> left;
        bool changed;
    };
    const Case cases[] = {
        {{1, 2, 3, 4}, {2, 4}, {1, 3}, true},
        {{1, 2, 3, 4}, {}, {1, 2, 3, 4}, false},
        {{}, {1}, {}, false},
        {{1, 3}, {0, 2, 4}, {1, 3}, false},
        {{5, 5}, {5}, {5}, true},
        {{5, 5, 6}, {5, 5, 5}, {6}, true},
        {{1, 2, 9, 10}, {2}, {1, 9, 10}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Show(c.a) + "minus " + Show(c.b));
        std::vector<int> a = c.a;
        std::vector<int> b = c.b;
        EXPECT_EQ(Not(a, b), c.changed);
        EXPECT_EQ(a, c.left);
        EXPECT_EQ(b, c.b);
    }
}

TEST(IntList, IsBalancedValueWithinAFactorOfTen) {
    struct Case {
        size_t val1;
        size_t val2;
        bool expected;
    };
    const size_t kMax = std::numeric_limits<size_t>::max();
    const Case cases[] = {
        {5, 59, true},
        {5, 60, false},
        {5, 50, true},
        {500, 50, true},
        {501, 50, false},
        {0, 9, true},
        {0, 10, false},
        {0, 0, true},
        // No wrap of nVal2 * 10 for huge lengths.
        {kMax, kMax / 2, true},
        {kMax / 10 + 1, kMax / 9, true},
        {1, kMax, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.val1) + " against " + std::to_string(c.val2));
        EXPECT_EQ(IsBalancedValue(c.val1, c.val2), c.expected);
    }
}

TEST(IntList, MergeSelectChoosesTheLongestMergeableRun) {
    struct Case {
        std::vector<size_t> lengths;
        bool balanced;
        int start;
        int size;
    };
    const size_t kLimit = 0x3FFFFFFF;
    const Case cases[] = {
        {{}, false, 0, 0},
        {{7}, false, 0, 0},
        {{100, 100, 100}, false, 0, 3},
        {{100, 100, 100}, true, 0, 3},
        {{30000000, 100, 30000000}, true, 0, 3},
        {{10, 30000000}, true, 0, 1},
        {{10, 30000000}, false, 0, 2},
        // The total may not pass the limit; a later start gives a longer run.
        {{kLimit - 5, 10, 10, 10}, false, 1, 3},
        {{kLimit - 30, 10, 10, 10}, false, 0, 4},
        {{kLimit - 29, 10, 10, 10}, false, 0, 3},
        // A single length above the limit still forms a run of its own.
        {{kLimit + 1, kLimit + 1}, false, 0, 1},
        {{kLimit + 1, 1, 2}, false, 1, 2},
        // Equal counts keep the earlier start.
        {{kLimit, 1, kLimit, 1}, false, 0, 1},
        // Unbalanced in the middle: the runs either side are compared.
        {{1, 2, 3, 900000000, 900000000, 800000000, 5}, true, 0, 3},
        {{900000000, 1, 900000000, 900000000, 900000000}, true, 0, 2},
        {{30000000, 500000000, 30000000, 40000000}, true, 2, 2},
        // Balanced against the smallest length so far, which a small one lowered.
        {{1000000000, 20000000, 50000000}, true, 0, 3},
        // 0x13FFFFF joins any balanced run; one more does not.
        {{1000000000, 0x13FFFFF}, true, 0, 2},
        {{1000000000, 0x1400000}, true, 0, 1},
        // A huge first length does not make the total wrap round.
        {{std::numeric_limits<size_t>::max(), 10}, false, 0, 1},
    };
    for (const Case& c : cases) {
        std::string sTrace = c.balanced ? "balanced: " : "";
        for (size_t n : c.lengths) sTrace += std::to_string(n) + " ";
        SCOPED_TRACE(sTrace);
        std::vector<size_t> lengths = c.lengths;
        int nSize = -7;
        EXPECT_EQ(MergeSelect(lengths, nSize, c.balanced), c.start);
        EXPECT_EQ(nSize, c.size);
    }
}

}  // namespace
