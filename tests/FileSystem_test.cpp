#include "FileSystem.h"

#include <dirent.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "TestFiles.h"

namespace {

using testfiles::DayEntries;
using testfiles::Exists;
using testfiles::InTempDir;
using testfiles::Letters;
using testfiles::WriteAll;
using Lines = std::vector<std::string>;

bool IsUnlocked(pthread_mutex_t* mutex) {
    if (pthread_mutex_trylock(mutex) != 0) return false;
    pthread_mutex_unlock(mutex);
    return true;
}

class FileSystem : public InTempDir {
  protected:
    void MakeDirs(const std::string& path) {
        testfiles::MakeParents(path);
        mkdir(path.c_str(), 0755);
    }
};

TEST_F(FileSystem, RangeCopyWritesAtTheDestinationsPosition) {
    struct Case {
        size_t source_size;
        size_t start, end, buffer_size;
        long expected;
    } cases[] = {
        {30, 10, 20, 4, 10}, {15, 10, 20, 4, 5},    {30, 20, 10, 7, 10},
        {30, 5, 5, 4, 0},    {30, 0, 30, 1000, 30}, {30, 10, 20, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + ".." + std::to_string(c.end) + " of " +
                     std::to_string(c.source_size));
        WriteAll("src", Letters(c.source_size));
        WriteAll("dst", "XYZ");
        FILE* src = fopen("src", "rb");
        FILE* dst = fopen("dst", "r+b");
        ASSERT_TRUE(src && dst);
        fseek(dst, 1, SEEK_SET);
        pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
        unsigned char buffer[1000];
        EXPECT_EQ(FileCopy(src, dst, c.start, c.end, buffer, c.buffer_size, &mutex), c.expected);
        EXPECT_TRUE(IsUnlocked(&mutex));
        fclose(src);
        fclose(dst);
        std::string copied = Letters(c.source_size).substr(c.start, c.expected);
        std::string rest = std::string("YZ").substr(std::min<size_t>(copied.size(), 2));
        EXPECT_EQ(ReadWholeFile(Path("dst")), "X" + copied + rest);
    }
}

TEST_F(FileSystem, RangeCopyTakesAStreamThatCannotSeekFromWhereItStands) {
    testfiles::FifoFeeder feeder("fifo", "hello world");
    struct Case {
        const char* what;
        FILE* source;
    } cases[] = {
        {"FIFO", fopen("fifo", "rb")},
        {"pipe", popen("printf 'hello world'", "r")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.source, nullptr);
        FILE* dst = fopen("dst", "wb");
        ASSERT_NE(dst, nullptr);
        unsigned char buffer[4];
        EXPECT_EQ(FileCopy(c.source, dst, 3, 8, buffer, sizeof buffer, nullptr), 0)
            << "a later offset cannot be reached";
        EXPECT_EQ(FileCopy(c.source, dst, 0, SIZE_MAX, buffer, sizeof buffer, nullptr), 11);
        fclose(dst);
        EXPECT_EQ(ReadWholeFile(Path("dst")), "hello world");
    }
    fclose(cases[0].source);
    EXPECT_EQ(pclose(cases[1].source), 0);
}

TEST_F(FileSystem, AppendCopyChecksTheGrowth) {
    struct Case {
        size_t block;
        size_t limit;
        long expected;
        size_t appended;
    } cases[] = {
        {1000, 0, 150, 100}, {7, 0, 150, 100},     {1000, 40, 90, 40},
        {7, 40, 90, 40},     {1000, 200, -2, 100}, {0, 0, -2, 0},
    };
    const std::string source = Letters(100);
    for (const Case& c : cases) {
        SCOPED_TRACE("block " + std::to_string(c.block) + " limit " + std::to_string(c.limit));
        WriteAll("src", source);
        WriteAll("dst", Letters(50, 'A'));
        FILE* src = fopen("src", "rb");
        FILE* dst = fopen("dst", "r+b");
        ASSERT_TRUE(src && dst);
        EXPECT_EQ(FileCopy(src, dst, c.block, nullptr, c.limit), c.expected);
        fclose(src);
        fclose(dst);
        EXPECT_EQ(ReadWholeFile(Path("dst")), Letters(50, 'A') + source.substr(0, c.appended));
    }
}

// Threads append their sources to one shared destination under one mutex; the
// result of each call is the end of its own run.
void AppendConcurrently(const std::string& dst_name, int threads_count, size_t size) {
    FILE* dst = fopen(dst_name.c_str(), "w+b");
    ASSERT_NE(dst, nullptr);
    setvbuf(dst, nullptr, _IONBF, 0);  // every block is a write of its own
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    std::vector<long> results(threads_count);
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < threads_count; ++t)
        threads.emplace_back([&, t] {
            FILE* src = fopen(("src" + std::to_string(t)).c_str(), "rb");
            while (!go) std::this_thread::yield();
            results[t] = src ? FileCopy(src, dst, 16, &mutex, 0) : -3;
            if (src) fclose(src);
        });
    go = true;
    for (std::thread& thread : threads) thread.join();
    fclose(dst);

    std::string data = ReadWholeFile(dst_name);
    ASSERT_EQ(data.size(), threads_count * size);
    for (int t = 0; t < threads_count; ++t) {
        SCOPED_TRACE(t);
        ASSERT_GE(results[t], static_cast<long>(size));
        EXPECT_EQ(data.substr(results[t] - size, size),
                  std::string(size, static_cast<char>('a' + t)));
    }
}

// Runs threads: a suite named ...Threads carries the CTest label "threads".
class FileSystemThreads : public FileSystem {};

TEST_F(FileSystemThreads, AppendCopiesSharingADestinationStayWhole) {
    const int kThreads = 4;
    const size_t kSize = 20000;
    for (int t = 0; t < kThreads; ++t)
        WriteAll("src" + std::to_string(t), std::string(kSize, static_cast<char>('a' + t)));
    for (int round = 0; round < 4 && !HasFailure(); ++round)
        AppendConcurrently(Path("dst"), kThreads, kSize);
}

TEST_F(FileSystem, WriteFailuresAreNotSuccess) {
    WriteAll("src", Letters(100));
    FILE* src = fopen("src", "rb");
    FILE* full = fopen("/dev/full", "wb");
    ASSERT_TRUE(src && full);
    EXPECT_EQ(FileCopy(src, full, 10, nullptr, 0), -2);
    setvbuf(full, nullptr, _IONBF, 0);  // so that the write itself fails
    unsigned char buffer[16];
    EXPECT_EQ(FileCopy(src, full, 0, 100, buffer, sizeof buffer, nullptr), 0);
    fclose(full);
    fclose(src);

    EXPECT_FALSE(FileCopy("src", "/dev/full", 10));
    EXPECT_FALSE(gfn_bWriteFile("/dev/full", "text"));
    EXPECT_FALSE(gfn_bAddFile("/dev/full", "text"));
    EXPECT_EQ(DayEntries(Dir(), ".err"), (Lines{"Error write file", "/dev/full"}));
}

TEST_F(FileSystem, CopyByNameReplacesTheDestination) {
    const std::string data = Letters(100000);
    WriteAll("src", data);
    WriteAll("dst", Letters(200000, 'A'));
    EXPECT_TRUE(FileCopy("src", "dst", 1000));
    EXPECT_EQ(ReadWholeFile(Path("dst")), data);
    WriteAll("empty", "");
    EXPECT_TRUE(FileCopy("empty", "dst", 7));
    EXPECT_EQ(ReadWholeFile(Path("dst")), "");
    EXPECT_TRUE(DayEntries(Dir(), ".err").empty());
}

TEST_F(FileSystem, CopyByNameRecordsWhatFailed) {
    WriteAll("src", "data");
    WriteAll("dst", "kept");
    ASSERT_EQ(mkdir("folder", 0755), 0);
    EXPECT_FALSE(FileCopy("missing", "out", 10));
    EXPECT_FALSE(FileCopy("src", "nodir/out", 10));
    EXPECT_FALSE(FileCopy("folder", "out", 10));  // opens, but cannot be read
    EXPECT_FALSE(FileCopy("src", "dst", 0));      // a block of 0 touches nothing
    EXPECT_EQ(ReadWholeFile(Path("dst")), "kept");
    EXPECT_EQ(DayEntries(Dir(), ".err"), (Lines{"Error read file", "missing", "Error write file",
                                                "nodir/out", "Error read file", "folder"}));
}

// The files below dir that pass the filter, in directory order, depth-first:
// the obviously correct walk without links, for comparison.
void ReferenceScan(const std::string& dir, const std::string& filter, Lines& out) {
    DIR* d = opendir(dir.c_str());
    ASSERT_NE(d, nullptr);
    while (const dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        std::string path = dir + "/" + name;
        struct stat st;
        ASSERT_EQ(lstat(path.c_str(), &st), 0);
        if (S_ISDIR(st.st_mode))
            ReferenceScan(path, filter, out);
        else if (path.size() >= filter.size() &&
                 path.compare(path.size() - filter.size(), filter.size(), filter) == 0)
            out.push_back(path);
    }
    closedir(d);
}

TEST_F(FileSystem, ScanListsMatchingFilesDepthFirst) {
    MakeDirs("top/sub/deeper");
    MakeDirs("top/empty");
    for (const char* file : {"top/a.txt", "top/b.TXT", "top/e.log", "top/sub/c.txt",
                             "top/sub/deeper/d.txt", "top/sub/x.txt.bak", "top/z.txt"})
        WriteAll(file, "x");
    struct Case {
        const char* folder;
        const char* filter;
        size_t count;
    } cases[] = {
        {"top", ".txt", 4},
        {"top/", ".txt", 4},
        {"top", "", 7},
        {"top", "d.txt", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " " + c.filter);
        Lines expected{"old"};
        ReferenceScan(std::string(c.folder), c.filter, expected);
        Lines found{"old"};
        EXPECT_TRUE(gfn_vScanFiles(c.folder, found, c.filter));
        EXPECT_EQ(found, expected);
        EXPECT_EQ(found.size(), c.count + 1);
    }
    Lines found;
    EXPECT_TRUE(gfn_vScanFiles("top", found, nullptr));
    EXPECT_EQ(found.size(), 7u);
    found.clear();
    EXPECT_TRUE(gfn_vScanFiles("top/", found, "a.txt"));
    EXPECT_EQ(found, (Lines{"top//a.txt"}));
}

TEST_F(FileSystem, ScanOfAMissingFolderChangesNothing) {
    WriteAll("file", "x");
    Lines found{"old"};
    EXPECT_FALSE(gfn_vScanFiles("missing", found, ""));
    EXPECT_FALSE(gfn_vScanFiles("file", found, ""));
    EXPECT_FALSE(gfn_vScanFiles(nullptr, found, ""));
    EXPECT_EQ(found, (Lines{"old"}));
}

TEST_F(FileSystem, ScanListsEveryPathThroughLinksToDirectories) {
    MakeDirs("tree/real/deep");
    MakeDirs("tree/other");
    WriteAll("tree/real/x.txt", "x");
    WriteAll("tree/real/deep/y.txt", "x");
    ASSERT_EQ(symlink("real", "tree/b"), 0);
    ASSERT_EQ(symlink("../real/deep", "tree/other/d"), 0);
    Lines found;
    EXPECT_TRUE(gfn_vScanFiles("tree", found, ".txt"));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Lines{"tree/b/deep/y.txt", "tree/b/x.txt", "tree/other/d/y.txt",
                            "tree/real/deep/y.txt", "tree/real/x.txt"}));
}

TEST_F(FileSystem, ScanEndsLinkCyclesAtAnAncestor) {
    MakeDirs("top/sub");
    MakeDirs("top/p");
    MakeDirs("top/q");
    WriteAll("top/a.txt", "x");
    WriteAll("top/sub/b.txt", "x");
    WriteAll("top/p/p.txt", "x");
    WriteAll("top/q/q.txt", "x");
    ASSERT_EQ(symlink("..", "top/sub/up"), 0);
    ASSERT_EQ(symlink(".", "top/self"), 0);
    ASSERT_EQ(symlink(Path("top").c_str(), "top/sub/absolute"), 0);
    ASSERT_EQ(symlink("a.txt", "top/link.txt"), 0);
    // Two directories that lead into each other: each is entered once below
    // the other, and the way back to the first ends there.
    ASSERT_EQ(symlink("../q", "top/p/to-q"), 0);
    ASSERT_EQ(symlink("../p", "top/q/to-p"), 0);
    Lines found;
    EXPECT_TRUE(gfn_vScanFiles("top", found, ".txt"));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Lines{"top/a.txt", "top/link.txt", "top/p/p.txt", "top/p/to-q/q.txt",
                            "top/q/q.txt", "top/q/to-p/p.txt", "top/sub/b.txt"}));
}

TEST_F(FileSystem, ScanTakesLongPathsAndFilters) {
    std::string dir = "top";
    for (int i = 0; i < 9; ++i) dir += "/" + std::string(250, static_cast<char>('a' + i));
    MakeDirs(dir);
    std::string file = dir + "/f.txt";
    ASSERT_GT(file.size(), 2048u);
    WriteAll(file, "x");
    WriteAll("top/g.txt", "x");
    Lines found;
    EXPECT_TRUE(gfn_vScanFiles("top", found, ".txt"));
    std::sort(found.begin(), found.end());
    Lines expected{"top/g.txt", file};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);

    std::string filter = file.substr(file.size() - 1100);
    found.clear();
    EXPECT_TRUE(gfn_vScanFiles("top", found, filter.c_str()));
    EXPECT_EQ(found, (Lines{file}));
}

TEST_F(FileSystem, CleanDeletesOnlyPlainFilesAndLinksToThem) {
    MakeDirs("dir/sub");
    WriteAll("dir/f1", "x");
    WriteAll("dir/f2", "x");
    WriteAll("dir/sub/inner", "x");
    WriteAll("target", "x");
    ASSERT_EQ(symlink(Path("target").c_str(), "dir/to-file"), 0);
    ASSERT_EQ(symlink("sub", "dir/to-dir"), 0);
    ASSERT_EQ(symlink("nothing", "dir/dangling"), 0);

    EXPECT_TRUE(gfn_bCleanDirectory("dir/"));
    Lines left = testfiles::Entries(Path("dir"));
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (Lines{"dangling", "sub", "to-dir"}));
    EXPECT_TRUE(Exists(Path("dir/sub/inner")));
    EXPECT_TRUE(Exists(Path("target")));

    WriteAll("dir/f3", "x");
    EXPECT_TRUE(gfn_bCleanDirectory(Path("dir").c_str()));
    EXPECT_FALSE(Exists(Path("dir/f3")));
}

TEST_F(FileSystem, CleanRefusesWhatIsNoDirectory) {
    WriteAll("file", "x");
    EXPECT_FALSE(gfn_bCleanDirectory(nullptr));
    EXPECT_FALSE(gfn_bCleanDirectory(""));
    EXPECT_FALSE(gfn_bCleanDirectory("missing"));
    EXPECT_FALSE(gfn_bCleanDirectory("file"));
    EXPECT_TRUE(Exists(Path("file")));

    // A name far longer than the system takes fails cleanly; one of some
    // thousands of bytes works.
    MakeDirs("dir");
    WriteAll("dir/f", "x");
    std::string name = "dir";
    while (name.size() < 13000) name += "/.";
    EXPECT_FALSE(gfn_bCleanDirectory(name.c_str()));
    EXPECT_TRUE(Exists(Path("dir/f")));
    name.resize(3001);
    EXPECT_TRUE(gfn_bCleanDirectory(name.c_str()));
    EXPECT_FALSE(Exists(Path("dir/f")));
}

TEST_F(FileSystem, WriteAndAddStopAtTheFirstNul) {
    EXPECT_TRUE(gfn_bWriteFile("out", std::string("ab\0cd", 5)));
    EXPECT_EQ(ReadWholeFile(Path("out")), "ab");
    EXPECT_TRUE(gfn_bWriteFile("out", "new"));
    EXPECT_EQ(ReadWholeFile(Path("out")), "new");
    EXPECT_TRUE(gfn_bAddFile("added", "line\n"));
    EXPECT_TRUE(gfn_bAddFile("added", "line\n"));
    EXPECT_EQ(ReadWholeFile(Path("added")), "line\nline\n");
    EXPECT_TRUE(gfn_bWriteFile("empty", ""));
    EXPECT_TRUE(Exists(Path("empty")));

    for (const char* name : {static_cast<const char*>(nullptr), "", "nodir/out"}) {
        EXPECT_FALSE(gfn_bWriteFile(name, "x"));
        EXPECT_FALSE(gfn_bAddFile(name, "x"));
    }
}

}  // namespace
