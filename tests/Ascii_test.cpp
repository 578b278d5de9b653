#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "Ascii.h"

namespace {

// The tests run in the "C" locale, where <cctype> is a trustworthy reference.
TEST(Ascii, PredicatesAgreeWithCLocaleForEveryByte) {
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        char ch = static_cast<char>(b);
        EXPECT_EQ(isLetter(ch), isalpha(b) != 0);
        EXPECT_EQ(isDigit(ch), isdigit(b) != 0);
    }
}

TEST(Ascii, ToLowerLowersEveryAsciiLetterAndNothingElse) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    std::string expected;
    for (int b = 1; b < 256; ++b) expected += static_cast<char>(tolower(b));

    std::string viaString = all;
    toLower(viaString);
    EXPECT_EQ(viaString, expected);

    std::string viaBuffer = all;
    toLower(&viaBuffer[0], static_cast<unsigned int>(viaBuffer.size()));
    EXPECT_EQ(viaBuffer, expected);
}

TEST(Ascii, ToLowerStopsAtNLenAndIgnoresTheTerminator) {
    char s[] = "ABC\0DEF";
    toLower(s, 0);
    EXPECT_EQ(std::string(s, 7), std::string("ABC\0DEF", 7));
    toLower(s, 2);
    EXPECT_EQ(std::string(s, 7), std::string("abC\0DEF", 7));
    toLower(s, 7);
    EXPECT_EQ(std::string(s, 7), std::string("abc\0def", 7));

    std::string withNul("X\0Y", 3);
    toLower(withNul);
    EXPECT_EQ(withNul, std::string("x\0y", 3));
}

TEST(Ascii, ToLowerChangesAGbkTrailByteInTheLetterRange) {
    std::string s = "\x81\x41\xC4\xE3";  // a GBK extension pair ending in 'A', then 你
    toLower(s);
    EXPECT_EQ(s, "\x81\x61\xC4\xE3");
}

}  // namespace
