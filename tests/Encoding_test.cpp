// The encoding names that the hosts accept.
#include "Encoding.h"

#include <gtest/gtest.h>

namespace {

TEST(Encoding, NamesFoldCaseAndSeparators) {
    struct Case {
        const char* sName;
        int nEncode;
    } cases[] = {
        {"utf-8", 1}, {"UTF-8", 1},    {"utf8", 1},    {"Utf_8", 1},   {"u8", 1},    {"cp65001", 1},
        {"gbk", 0},   {"GBK", 0},      {"cp936", 0},   {"CP936", 0},   {"936", 0},   {"ms936", 0},
        {"", -1},     {"latin-1", -1}, {"gb2312", -1}, {"utf-16", -1}, {"gbk2", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sName);
        EXPECT_EQ(varnel_host::EncodeFromName(c.sName), c.nEncode);
    }
    EXPECT_EQ(varnel_host::EncodeFromName(nullptr), -1);
}

TEST(Encoding, CanonicalNames) {
    EXPECT_STREQ(varnel_host::EncodingName(1), "utf-8");
    EXPECT_STREQ(varnel_host::EncodingName(0), "gbk");
    EXPECT_STREQ(varnel_host::EncodingName(7), "gbk");  // any value other than 1 is GBK
}

}  // namespace
