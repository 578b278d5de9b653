// The shared library's outside surface, read from the built file.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "Commands.h"

namespace {

TEST(SymbolsTest, ExportsExactlyTheInterface) {
    std::string sOut =
        CommandOutput(std::string("nm -D --defined-only '") + VARNEL_LIBRARY_PATH + "'");
    ASSERT_FALSE(sOut.empty());
    std::map<std::string, char> exported;  // name -> nm's type letter
    size_t nPos = 0;
    while (nPos < sOut.size()) {
        size_t nEnd = sOut.find('\n', nPos);
        std::string sLine = sOut.substr(nPos, nEnd - nPos);
        nPos = nEnd == std::string::npos ? sOut.size() : nEnd + 1;
        size_t nName = sLine.rfind(' ');
        if (nName == std::string::npos || nName < 2) continue;
        exported[sLine.substr(nName + 1)] = sLine[nName - 1];
    }
    const std::map<std::string, char> kExpected = {
        {"VN_Init", 'T'},        {"VN_Exit", 'T'},
        {"VN_GetSentence", 'T'}, {"VN_GetLastErrorMsg", 'T'},
        {"g_pSentence", 'B'},
    };
    EXPECT_EQ(exported, kExpected) << sOut;
}

TEST(SymbolsTest, RecordsNoSoname) {
    std::string sOut = CommandOutput(std::string("readelf -d '") + VARNEL_LIBRARY_PATH + "'");
    ASSERT_NE(sOut.find("NEEDED"), std::string::npos) << sOut;
    EXPECT_EQ(sOut.find("SONAME"), std::string::npos) << sOut;
}

}  // namespace
