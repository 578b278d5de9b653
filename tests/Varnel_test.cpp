// The interface's globals, reached by linking the library's objects.
#include "Varnel.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "Global.h"
#include "TestFiles.h"

namespace {

class VarnelTest : public testfiles::InTempDir {
  protected:
    void TearDown() override {
        VN_Exit();
        InTempDir::TearDown();
    }
    const std::string m_sDir = Dir();
};

TEST_F(VarnelTest, DataDirectoryFollowsTheGivenOrWorkingDirectory) {
    struct {
        const char* sInitDir;
        std::string sExpected;
    } const kCases[] = {
        {nullptr, m_sDir + "/Data"},   {"", m_sDir + "/Data"},
        {"/srv/app", "/srv/app/Data"}, {"/srv/app/", "/srv/app//Data"},  // nothing is normalised
        {"rel", "rel/Data"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.sInitDir ? c.sInitDir : "(null)");
        EXPECT_EQ(VN_Init(c.sInitDir, nullptr), 1);
        EXPECT_EQ(g_sDefaultDir, c.sExpected);
        VN_Exit();
        EXPECT_EQ(g_sDefaultDir, c.sExpected) << "kept after VN_Exit";
    }
}

TEST_F(VarnelTest, UnreadableWorkingDirectoryLeavesTheSeparatorAndData) {
    std::string sGone = m_sDir + "/gone";
    ASSERT_EQ(mkdir(sGone.c_str(), 0700), 0);
    ASSERT_EQ(chdir(sGone.c_str()), 0);
    ASSERT_EQ(rmdir(sGone.c_str()), 0);
    EXPECT_EQ(VN_Init(nullptr, nullptr), 1);
    EXPECT_EQ(g_sDefaultDir, "/Data");
    EXPECT_STREQ(VN_GetSentence("Still. Works.", 0), "Still.");
}

TEST_F(VarnelTest, WorkingDirectoryTooLongForItsBuffer) {
    std::string sDeep = m_sDir;
    while (sDeep.size() < 1000) {
        sDeep += "/" + std::string(100, 'd');
        ASSERT_EQ(mkdir(sDeep.c_str(), 0700), 0);
    }
    ASSERT_EQ(chdir(sDeep.c_str()), 0);
    EXPECT_EQ(VN_Init("", nullptr), 1);
    EXPECT_EQ(g_sDefaultDir, "/Data");
}

}  // namespace
