#include "Log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "Global.h"
#include "TestFiles.h"

namespace {

using testfiles::DayEntries;
using testfiles::DayFiles;
using testfiles::Entries;
using testfiles::InTempDir;
using testfiles::Masked;
using Lines = std::vector<std::string>;

class Log : public InTempDir {};

TEST_F(Log, ErrorAndLogLinesGoToTwoDayFilesOfTheWorkingDirectory) {
    WriteError("first error", nullptr);
    WriteLog("a note", nullptr, false);
    WriteLog("second error", nullptr, true);

    EXPECT_EQ(DayEntries(Dir(), ".err"), (Lines{"first error", "second error"}));
    EXPECT_EQ(DayEntries(Dir(), ".log"), (Lines{"a note"}));
    Lines errors = DayFiles(Dir(), "", ".err");
    Lines logs = DayFiles(Dir(), "", ".log");
    ASSERT_EQ(errors.size(), 1u);
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(errors[0].substr(0, 8), logs[0].substr(0, 8));
    EXPECT_EQ(g_sLogPath, Dir());
}

TEST_F(Log, GivenDirectoryGetsASlashUnlessItEndsInASeparator) {
    ASSERT_EQ(mkdir("logs", 0755), 0);
    WriteLog("plain", "logs", false);
    WriteLog("slash", "logs/", false);
    WriteError("absolute", Path("logs").c_str());
    // A backslash counts as a separator: the name is the directory string and
    // the date, here a file of the working directory.
    WriteLog("backslash", "logs\\", false);

    EXPECT_EQ(DayEntries(Path("logs"), ".log"), (Lines{"plain", "slash"}));
    EXPECT_EQ(DayEntries(Path("logs"), ".err"), (Lines{"absolute"}));
    EXPECT_EQ(DayEntries(Dir(), ".log", "logs\\"), (Lines{"backslash"}));
    EXPECT_TRUE(g_sLogPath.empty()) << "a given directory does not fix the default one";
}

TEST_F(Log, ContentEndsAtItsFirstNulAndKeepsItsLineFeeds) {
    WriteLog(std::string("kept\0dropped", 12), nullptr, false);
    WriteLog("one\ntwo", nullptr, false);
    Lines files = DayFiles(Dir(), "", ".log");
    ASSERT_EQ(files.size(), 1u);
    std::string text = ReadWholeFile(Path(files[0]));
    EXPECT_EQ(Masked(text), "[T]\tkept\n[T]\tone\ntwo\n");
}

TEST_F(Log, UnopenableFileFallsBackToStandardOutput) {
    testing::internal::CaptureStdout();
    WriteLog("lost line", "missing", false);
    WriteError("lost error", Path("missing/").c_str());
    std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(Masked(out),
              "[T] lost line\nCannot write log file missing/DATE.log!\r\n"
              "[T] lost error\nCannot write log file " +
                  Path("missing/") + "DATE.err!\r\n");
    EXPECT_TRUE(Entries(Dir()).empty());
}

TEST_F(Log, SwitchedOffWritesNothingButTheStreamFormStillWrites) {
    g_bLog = false;
    testing::internal::CaptureStdout();
    WriteError("error", nullptr);
    WriteLog("note", nullptr, false);
    WriteLog("lost", "missing", true);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "");
    EXPECT_TRUE(Entries(Dir()).empty());
    EXPECT_TRUE(g_sLogPath.empty());

    FILE* fp = fopen("stream.txt", "wb");
    ASSERT_NE(fp, nullptr);
    WriteLog(fp, "still written");
    fclose(fp);
    EXPECT_EQ(Masked(ReadWholeFile(Path("stream.txt"))), "[T] still written\n");
}

TEST_F(Log, StreamFormWritesOneLineAndLeavesTheStreamOpen) {
    FILE* fp = fopen("stream.txt", "w+b");
    ASSERT_NE(fp, nullptr);
    WriteLog(fp, "first");
    WriteLog(fp, "second");
    ASSERT_EQ(fseek(fp, 0, SEEK_SET), 0);  // still open and usable
    char buffer[200] = {0};
    size_t n = fread(buffer, 1, sizeof buffer - 1, fp);
    fclose(fp);
    EXPECT_EQ(Masked(std::string(buffer, n)), "[T] first\n[T] second\n");

    testing::internal::CaptureStdout();
    WriteLog(nullptr, "to stdout");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Masked(out), "[T] to stdout\nCannot write log file!\r\n");
    EXPECT_EQ(Entries(Dir()), (Lines{"stream.txt"}));
}

TEST_F(Log, DefaultDirectoryIsFixedAtTheFirstDefaultLine) {
    ASSERT_EQ(mkdir("first", 0755), 0);
    ASSERT_EQ(mkdir("second", 0755), 0);
    ASSERT_EQ(chdir("first"), 0);
    WriteLog("in first", nullptr, false);
    ASSERT_EQ(chdir("../second"), 0);
    WriteLog("still in first", nullptr, false);
    WriteError("error in first", nullptr);

    EXPECT_EQ(DayEntries(Path("first"), ".log"), (Lines{"in first", "still in first"}));
    EXPECT_EQ(DayEntries(Path("first"), ".err"), (Lines{"error in first"}));
    EXPECT_TRUE(Entries(Path("second")).empty());
    EXPECT_EQ(g_sLogPath, Path("first"));
}

// Runs threads: a suite named ...Threads carries the CTest label "threads".
class LogThreads : public Log {};

TEST_F(LogThreads, LinesFromManyThreadsStayWhole) {
    const int kThreads = 4;
    const int kLines = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i)
                WriteLog("thread " + std::to_string(t) + " line " + std::to_string(i), nullptr,
                         false);
        });
    for (std::thread& thread : threads) thread.join();

    Lines entries = DayEntries(Dir(), ".log");
    EXPECT_EQ(entries.size(), static_cast<size_t>(kThreads * kLines));
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kLines; ++i) {
            std::string line = "thread " + std::to_string(t) + " line " + std::to_string(i);
            EXPECT_NE(std::find(entries.begin(), entries.end(), line), entries.end()) << line;
        }
}

TEST(LastError, ReadsTheLibraryWideMessage) {
    g_sLastErrorMessage = "no data directory";
    EXPECT_STREQ(GetLastErrorMsg(), "no data directory");
    g_sLastErrorMessage.clear();
    EXPECT_STREQ(GetLastErrorMsg(), "");
}

}  // namespace
