#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "global_linux.h"

namespace {

// The tests run in the "C" locale, where <cctype> is a trustworthy reference.
TEST(GlobalLinux, CaseMappersAgreeWithCLocaleForEveryByte) {
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        char ch = static_cast<char>(b);
        EXPECT_EQ(static_cast<unsigned char>(GetUpperLetter(ch)), toupper(b));
        EXPECT_EQ(static_cast<unsigned char>(GetLowerLetter(ch)), tolower(b));
    }
}

TEST(GlobalLinux, CaseMappersKeepTheBytesAroundTheAlphabet) {
    EXPECT_EQ(GetUpperLetter('{'), '{');
    EXPECT_EQ(GetUpperLetter('`'), '`');
    EXPECT_EQ(GetUpperLetter('@'), '@');
    EXPECT_EQ(GetUpperLetter('\xE1'), '\xE1');
    EXPECT_EQ(GetLowerLetter('['), '[');
    EXPECT_EQ(GetLowerLetter('@'), '@');
    EXPECT_EQ(GetLowerLetter('\xC1'), '\xC1');
}

TEST(GlobalLinux, StruprAndStrlwrChangeAsciiLettersInPlace) {
    char s[] = "Mixed 09 z{[@\xC4\xE3";  // ... 你
    EXPECT_EQ(strupr(s), s);
    EXPECT_STREQ(s, "MIXED 09 Z{[@\xC4\xE3");
    EXPECT_EQ(strlwr(s), s);
    EXPECT_STREQ(s, "mixed 09 z{[@\xC4\xE3");
}

TEST(GlobalLinux, ItoaWritesByRadix) {
    struct Case {
        int value;
        int radix;
        const char* expected;
    };
    const Case cases[] = {
        {255, 16, "ff"},
        {255, 8, "377"},
        {255, 10, "255"},
        {255, 2, "255"},
        {255, 36, "255"},
        {-1, 16, "ffffffff"},
        {-1, 8, "37777777777"},
        {-1, 10, "-1"},
        {0, 16, "0"},
        {-2147483647 - 1, 10, "-2147483648"},
        {2147483647, 16, "7fffffff"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + " radix " + std::to_string(c.radix));
        char str[12];
        EXPECT_EQ(itoa(c.value, str, c.radix), str);
        EXPECT_STREQ(str, c.expected);
    }
}

TEST(GlobalLinux, StrrevReversesTheBytesInPlace) {
    struct Case {
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"", ""},
        {"a", "a"},
        {"ab", "ba"},
        {"abc", "cba"},
        {"Hello, world", "dlrow ,olleH"},
        {"\xC4\xE3", "\xE3\xC4"},  // 你, bytes swapped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        // Exactly the string's size, so that a write past the terminator shows
        // under a sanitizer.
        std::string s(c.input);
        std::vector<char> buffer(s.begin(), s.end());
        buffer.push_back('\0');
        EXPECT_EQ(strrev(buffer.data()), buffer.data());
        EXPECT_STREQ(buffer.data(), c.expected);
    }
}

}  // namespace
