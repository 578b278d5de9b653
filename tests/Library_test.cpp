// libVarnel.so as a host uses it: loaded with dlopen, reached through dlsym.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SplitCases.h"

namespace {

class LibraryTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_pLibrary = dlopen(VARNEL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(s_pLibrary, nullptr) << dlerror();
        Init = reinterpret_cast<int (*)(const char*, const char*)>(Find("VN_Init"));
        Exit = reinterpret_cast<void (*)()>(Find("VN_Exit"));
        GetSentence = reinterpret_cast<const char* (*)(const char*, int)>(Find("VN_GetSentence"));
        GetLastErrorMsg = reinterpret_cast<const char* (*)()>(Find("VN_GetLastErrorMsg"));
        ppSentence = static_cast<void**>(Find("g_pSentence"));
    }
    static void TearDownTestSuite() {
        if (s_pLibrary) dlclose(s_pLibrary);
    }
    void SetUp() override {
        ASSERT_NE(ppSentence, nullptr);
        Exit();
    }
    void TearDown() override { Exit(); }

    static void* Find(const char* sName) {
        void* p = dlsym(s_pLibrary, sName);
        EXPECT_NE(p, nullptr) << sName;
        return p;
    }

    static std::vector<std::string> SplitAll(const char* sText, int nEncode) {
        std::vector<std::string> vs;
        for (const char* s = GetSentence(sText, nEncode); *s; s = GetSentence(nullptr, nEncode))
            vs.push_back(s);
        return vs;
    }

    static inline void* s_pLibrary = nullptr;
    static inline int (*Init)(const char*, const char*) = nullptr;
    static inline void (*Exit)() = nullptr;
    static inline const char* (*GetSentence)(const char*, int) = nullptr;
    static inline const char* (*GetLastErrorMsg)() = nullptr;
    static inline void** ppSentence = nullptr;
};

TEST_F(LibraryTest, AnswersSafelyWithoutAnInstance) {
    Exit();  // twice in a row does nothing
    EXPECT_EQ(*ppSentence, nullptr);
    const char* s = GetSentence("Hello. World.", kGbk);
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s, "");
    ASSERT_NE(GetSentence(nullptr, kGbk), nullptr);
    ASSERT_NE(GetLastErrorMsg(), nullptr);
    EXPECT_STREQ(GetLastErrorMsg(), "");
}

TEST_F(LibraryTest, InitExitInitGivesAFreshInstance) {
    EXPECT_EQ(Init(nullptr, nullptr), 1);
    EXPECT_NE(*ppSentence, nullptr);
    EXPECT_STREQ(GetSentence(nullptr, kGbk), "") << "no text given yet";
    EXPECT_STREQ(GetSentence("One. Two.", kGbk), "One.");
    Exit();
    EXPECT_EQ(*ppSentence, nullptr);
    EXPECT_STREQ(GetSentence(nullptr, kGbk), "");
    EXPECT_EQ(Init("/somewhere", "reserved text"), 1);
    EXPECT_NE(*ppSentence, nullptr);
    EXPECT_STREQ(GetSentence(nullptr, kGbk), "") << "the old text is gone";
    EXPECT_STREQ(GetLastErrorMsg(), "");
}

TEST_F(LibraryTest, SecondInitReplacesTheInstance) {
    Init(nullptr, nullptr);
    EXPECT_STREQ(GetSentence("One. Two.", kGbk), "One.");
    EXPECT_EQ(Init(nullptr, nullptr), 1);
    EXPECT_NE(*ppSentence, nullptr);
    EXPECT_STREQ(GetSentence(nullptr, kGbk), "");
}

TEST_F(LibraryTest, SplitsTheSharedCases) {
    Init(nullptr, nullptr);
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE(c.sName);
        std::vector<std::string> vsExpected;
        for (const char* const* p = c.vsSentences; *p; ++p) vsExpected.push_back(*p);
        EXPECT_EQ(SplitAll(c.sText, c.nEncode), vsExpected);
        EXPECT_STREQ(GetSentence(nullptr, c.nEncode), "") << "exhausted stays empty";
    }
}

}  // namespace
