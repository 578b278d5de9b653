#include "Similarity.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Similarity, Scores) {
    // clang-format off
    const struct { const char *a, *b; double expected; } cases[] = {
        {"abc", "ABC", 1.0},
        {"AbC", "aBc", 1.0},
        {"bc", "abcd", 0.5},        // contained: 2 / 4; the other way round it is not
        {"abcd", "bc", 0.45125},    // b 0.9 at offset 0, c 1.0 right after: 1.9 * 1.9 / (2 * 4)
        {"ba", "ab", 0.64},         // b 1.0 at offset 0 + 1, a 0.6 only before it
        {"ab", "xyz", 0.0},
        {"Ab", "xaB", 0.0},         // the search itself is case-sensitive
        {"aaaa", "a", 3.24},        // one 'a' matched four times: 3.6 * 3.6 / 4
        {"\xB1\xB1\xBE\xA9\xB4\xF3\xD1\xA7",                  // 北京大学
         "\xB1\xB1\xBE\xA9\xCA\xA6\xB7\xB6\xB4\xF3\xD1\xA7",  // 北京师范大学
         7.6 * 7.6 / (12 * 8)},                               // 北 1.8, 京 2, 大 1.8, 学 2
        {"\xB4\xF3\xD1\xA7\xB1\xB1\xBE\xA9",                  // 大学北京
         "\xB1\xB1\xBE\xA9\xB4\xF3\xD1\xA7",                  // 北京大学
         6.2 * 6.2 / (8 * 8)},                                // 大 1.8, 学 2, 北 1.2, 京 1.2
        {"\xB1\xB1\xBE\xA9", "\xB1\xB1\xBE\xA9\xB4\xF3\xD1\xA7", 0.5},  // 北京 in 北京大学
        {nullptr, nullptr, 1.0},
        {"", "", 1.0},
        {"", "abc", 0.5},
        {nullptr, "abc", 0.5},
        {nullptr, "", 0.5},
        {"", nullptr, 0.5},
        {"abc", "", 0.0},
        {"abc", nullptr, 0.0},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a ? c.a : "(null)") + " / " + (c.b ? c.b : "(null)"));
        EXPECT_NEAR(c.expected, ComputeSim(c.a, c.b), 1e-9);
    }
}

}  // namespace
