#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "Path.h"

namespace {

TEST(Path, JoiningAlwaysInsertsASlash) {
    char sOut[64];
    GetFullFileName(sOut, "data", "a.txt");
    EXPECT_STREQ(sOut, "data/a.txt");
    GetFullFileName(sOut, "data/", "a.txt");
    EXPECT_STREQ(sOut, "data//a.txt");
    GetFullFileName(sOut, "c:\\data", "a.txt");
    EXPECT_STREQ(sOut, "c:\\data/a.txt");
    GetFullFileName(sOut, "", "a.txt");
    EXPECT_STREQ(sOut, "a.txt");
    GetFullFileName(sOut, nullptr, "a.txt");
    EXPECT_STREQ(sOut, "a.txt");

    EXPECT_EQ(GetAbsolutePath("data", "a.txt", sOut), sOut);
    EXPECT_STREQ(sOut, "data/a.txt");
    GetAbsolutePath("", "a.txt", sOut);
    EXPECT_STREQ(sOut, "/a.txt");
    GetAbsolutePath("data/", "a.txt", sOut);
    EXPECT_STREQ(sOut, "data//a.txt");
}

TEST(Path, GetPathFileSplitsDirectoryNameAndExtension) {
    struct Case {
        const char* input;
        const char* path;
        const char* file;
        const char* ext;
    };
    const Case cases[] = {
        {"c:\\docs\\a.b.txt", "c:\\docs", "a.b", "txt"},
        {"/home/u/a.b.txt", "/home/u", "a.b", "txt"},
        {"mixed\\dir/sub\\name.ext", "mixed\\dir/sub", "name", "ext"},
        {"mixed/dir\\sub/name.ext", "mixed/dir\\sub", "name", "ext"},
        {"README", ".", "README", ""},
        {"archive.tar.gz", ".", "archive.tar", "gz"},
        {"a.b/c", ".", "a", "b/c"},
        {"/x.txt", "", "x", "txt"},
        {"dir/", "dir", "", ""},
        {"dir\\", "dir", "", ""},
        {"name.", ".", "name", ""},
        {"", ".", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        std::string sPath = "old", sFile = "old", sExt = "old";
        GetPathFile(c.input, sPath, sFile, sExt);
        EXPECT_EQ(sPath, c.path);
        EXPECT_EQ(sFile, c.file);
        EXPECT_EQ(sExt, c.ext);
    }
}

TEST(Path, GetRelevatePathEndsTheDirectoryWithASlash) {
    struct Case {
        const char* input;
        const char* path;
        const char* file;
    };
    const Case cases[] = {
        {"docs\\a.txt", "docs/", "a.txt"},
        {"docs/a.txt", "docs/", "a.txt"},
        {"c:\\x\\docs\\a.b.txt", "c:\\x\\docs/", "a.b.txt"},
        {"x\\y/z", "x\\y/", "z"},
        {"x/y\\z", "x/y/", "z"},
        {"/a.txt", "/", "a.txt"},
        {"dir/", "dir/", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        char sPath[1000] = "untouched";
        char sFile[100] = "untouched";
        EXPECT_EQ(GetRelevatePath(c.input, sPath, sFile), sFile);
        EXPECT_STREQ(sPath, c.path);
        EXPECT_STREQ(sFile, c.file);
    }
}

TEST(Path, GetRelevatePathOfABareNameGivesTheWorkingDirectory) {
    char sCwd[1000];
    ASSERT_NE(getcwd(sCwd, sizeof sCwd), nullptr);
    char sPath[1000];
    char sFile[100];
    GetRelevatePath("a.txt", sPath, sFile);
    EXPECT_STREQ(sPath, sCwd);
    EXPECT_STREQ(sFile, "a.txt");
}

TEST(Path, GetRelevatePathLeavesThePathWhenTheWorkingDirectoryIsGone) {
    char sHome[1000];
    ASSERT_NE(getcwd(sHome, sizeof sHome), nullptr);
    char sTemp[] = "/tmp/varnel-path-XXXXXX";
    ASSERT_NE(mkdtemp(sTemp), nullptr);
    ASSERT_EQ(chdir(sTemp), 0);
    ASSERT_EQ(rmdir(sTemp), 0);

    char sPath[1000] = "untouched";
    char sFile[100];
    GetRelevatePath("a.txt", sPath, sFile);
    ASSERT_EQ(chdir(sHome), 0);
    EXPECT_STREQ(sPath, "untouched");
    EXPECT_STREQ(sFile, "a.txt");
}

TEST(Path, GetFilenameCutsAtTheFirstDot) {
    struct Case {
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/u/report.final.doc", "report"},
        {"c:\\u\\report.final.doc", "report"},
        {"report.doc", "report"},
        {"archive.tar.gz", "archive"},
        {"dir.d/name", "name"},
        {"dir.d\\name", "name"},
        {".hidden", ""},
        {"dir/", ""},
        {"plain", "plain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        char sFile[100] = "untouched";
        EXPECT_EQ(GetFilename(c.input, sFile), sFile);
        EXPECT_STREQ(sFile, c.expected);
    }
}

TEST(Path, GetFilePathKeepsTheLastSeparator) {
    struct Case {
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/u/a.txt", "/home/u/"},
        {"c:\\u\\a.txt", "c:\\u\\"},
        {"a/b\\c", "a/b\\"},
        {"a\\b/c", "a\\b/"},
        {"/a.txt", "/"},
        {"a.txt", ""},
        {"", ""},
        {"dir/", "dir/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(getFilePath(c.input), c.expected);
    }
}

}  // namespace
