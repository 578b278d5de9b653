#include "ReadFile.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "TestFiles.h"

namespace {

using testfiles::DayEntries;
using testfiles::Entries;
using testfiles::InTempDir;
using testfiles::Letters;
using testfiles::WriteAll;
using Lines = std::vector<std::string>;

class ReadFileTest : public InTempDir {
  protected:
    void SetUp() override {
        InTempDir::SetUp();
        WriteAll("data.txt", Letters(100));
        WriteAll("empty.txt", "");
        WriteAll("nul.bin", std::string("ab\0cd", 5));
    }
};

TEST_F(ReadFileTest, ReadsRangesIntoNulTerminatedBuffers) {
    const std::string data = Letters(100);
    struct Case {
        const char* file;
        long offset;
        size_t length;
        bool zero_is_all;
        size_t expected_offset;
        size_t expected_length;
    } cases[] = {
        {"data.txt", 0, 0, true, 0, 100},    {"data.txt", 10, 0, true, 10, 90},
        {"data.txt", 20, 30, false, 20, 30}, {"data.txt", 20, 30, true, 20, 30},
        {"data.txt", 0, 0, false, 0, 0},     {"data.txt", 95, 10, false, 95, 5},
        {"data.txt", 100, 5, false, 0, 0},   {"data.txt", 200, 5, false, 0, 0},
        {"data.txt", -1, 5, false, 0, 0},    {"data.txt", 10, SIZE_MAX, false, 10, 90},
        {"empty.txt", 0, 0, true, 0, 0},     {"nul.bin", 0, 0, true, 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " offset " + std::to_string(c.offset) + " length " +
                     std::to_string(c.length));
        char* buffer = nullptr;
        size_t n = ReadFile(c.file, &buffer, c.offset, c.length, c.zero_is_all);
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(n, c.expected_length);
        std::string expected = std::string(c.file) == "nul.bin"
                                   ? std::string("ab\0cd", 5)
                                   : data.substr(c.expected_offset, c.expected_length);
        EXPECT_EQ(std::string(buffer, n), expected);
        EXPECT_EQ(buffer[n], 0);
        delete[] buffer;
    }
    EXPECT_TRUE(DayEntries(Dir(), ".log").empty());
}

TEST_F(ReadFileTest, StringFormEndsAtTheFirstNulAndEmptiesOnFailure) {
    std::string text = "stale";
    EXPECT_EQ(ReadFile("nul.bin", text, 0, 0, true), 5u);
    EXPECT_EQ(text, "ab");
    text = "stale";
    EXPECT_EQ(ReadFile("data.txt", text, 98, 0, true), 2u);
    EXPECT_EQ(text, "uv");
    text = "stale";
    EXPECT_EQ(ReadFile("empty.txt", text, 0, 0, true), 0u);
    EXPECT_EQ(text, "");
    text = "stale";
    EXPECT_EQ(ReadFile("missing.txt", text, 0, 0, true), 0u);
    EXPECT_EQ(text, "");
}

TEST_F(ReadFileTest, MissingFileLeavesTheBufferAndWritesALogLine) {
    char sentinel = 0;
    char* buffer = &sentinel;
    EXPECT_EQ(ReadFile("missing.txt", &buffer, 0, 0, true), 0u);
    EXPECT_EQ(buffer, &sentinel);
    EXPECT_EQ(DayEntries(Dir(), ".log"), (Lines{"Failed open file  missing.txt"}));
    EXPECT_TRUE(DayEntries(Dir(), ".err").empty());
}

TEST_F(ReadFileTest, EmptyNameOnAFreshObjectGivesAnEmptyBufferSilently) {
    CReadFile reader;
    char* buffer = nullptr;
    EXPECT_EQ(reader.ReadFile("", &buffer, 0, 0, true), 0u);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer[0], 0);
    delete[] buffer;
    EXPECT_EQ(Entries(Dir()).size(), 3u) << "no log file";
}

TEST_F(ReadFileTest, OneObjectKeepsItsFileOpenAcrossRequests) {
    CReadFile reader;
    std::string text;
    ASSERT_EQ(reader.ReadFile("data.txt", text, 0, 3, false), 3u);
    // The name in other letter case is the open file: no reopening, so the
    // removal of the file does not matter.
    ASSERT_EQ(unlink("data.txt"), 0);
    EXPECT_EQ(reader.ReadFile("DATA.TXT", text, 3, 3, false), 3u);
    EXPECT_EQ(text, "def");
    // A missing file leaves the open one in place.
    EXPECT_EQ(reader.ReadFile("missing.txt", text, 0, 0, true), 0u);
    EXPECT_EQ(reader.ReadFile("data.txt", text, 0, 0, true), 100u);
    EXPECT_EQ(text, Letters(100));
    EXPECT_EQ(DayEntries(Dir(), ".log"), (Lines{"Failed open file  missing.txt"}));
}

TEST_F(ReadFileTest, WholeFileSizeIsMeasuredWhenTheFileIsOpened) {
    CReadFile reader;
    std::string text;
    ASSERT_EQ(reader.ReadFile("data.txt", text, 0, 0, true), 100u);
    FILE* fp = fopen("data.txt", "ab");
    ASSERT_NE(fp, nullptr);
    fputs("GROWN", fp);
    fclose(fp);
    EXPECT_EQ(reader.ReadFile("data.txt", text, 0, 0, true), 100u);
    EXPECT_EQ(reader.ReadFile("data.txt", text, 100, 10, false), 5u);
    EXPECT_EQ(text, "GROWN");
}

TEST(ReadFile, FilesWithoutAKnownSizeGiveWhatTheyHold) {
    // A device and a system file whose status reports size 0: a given length
    // reads what is there, a whole-file request the size measured, 0.
    char* buffer = nullptr;
    ASSERT_EQ(ReadFile("/dev/zero", &buffer, 0, 70000, false), 70000u);
    EXPECT_EQ(std::string(buffer, 70000), std::string(70000, '\0'));
    delete[] buffer;

    std::string text;
    EXPECT_GT(ReadFile("/proc/self/status", text, 0, 1 << 20, false), 0u);
    EXPECT_EQ(text.compare(0, 5, "Name:"), 0) << text;
    EXPECT_EQ(ReadFile("/proc/self/status", text, 0, 0, true), 0u);
}

// Standard input fed by a pipe that holds data and has no writer left, for
// the life of the object.
class StdinFromPipe {
  public:
    explicit StdinFromPipe(const std::string& data) {
        int fds[2];
        if (pipe(fds) != 0) {
            ADD_FAILURE() << "pipe";
            return;
        }
        EXPECT_EQ(write(fds[1], data.data(), data.size()), static_cast<ssize_t>(data.size()));
        close(fds[1]);
        saved_ = dup(0);
        dup2(fds[0], 0);
        close(fds[0]);
    }
    StdinFromPipe(const StdinFromPipe&) = delete;
    StdinFromPipe& operator=(const StdinFromPipe&) = delete;
    ~StdinFromPipe() {
        if (saved_ < 0) return;
        dup2(saved_, 0);
        close(saved_);
    }

  private:
    int saved_ = -1;
};

// Reads name, a stream holding "hello world" that cannot seek, through one
// object: each offset must be where the object's reads have left the stream.
void ExpectReadWhereItStands(const char* name) {
    CReadFile reader;
    std::string text = "stale";
    EXPECT_EQ(reader.ReadFile(name, text, 3, 5, false), 0u) << "a fresh stream stands at 0";
    EXPECT_EQ(text, "");
    EXPECT_EQ(reader.ReadFile(name, text, 0, 5, false), 5u);
    EXPECT_EQ(text, "hello");
    EXPECT_EQ(reader.ReadFile(name, text, 5, 100, false), 6u);
    EXPECT_EQ(text, " world");
    EXPECT_EQ(reader.ReadFile(name, text, 0, 5, false), 0u) << "the stream has moved on";
    EXPECT_EQ(text, "");
}

TEST_F(ReadFileTest, StreamsThatCannotSeekAreReadWhereTheyStand) {
    {
        SCOPED_TRACE("FIFO");
        testfiles::FifoFeeder feeder("fifo", "hello world");
        ExpectReadWhereItStands("fifo");
    }
    {
        SCOPED_TRACE("pipe");
        StdinFromPipe input("hello world");
        ExpectReadWhereItStands("/dev/stdin");
    }
    EXPECT_TRUE(DayEntries(Dir(), ".log").empty());
}

// Runs threads: a suite named ...Threads carries the CTest label "threads".
class ReadFileThreads : public ReadFileTest {};

TEST_F(ReadFileThreads, SharedObjectServesTwoFilesToManyThreads) {
    const std::string a = Letters(3000, 'a');
    std::string b = Letters(2000, 'A');
    WriteAll("a.txt", a);
    WriteAll("b.txt", b);
    CReadFile reader;
    std::atomic<int> wrong{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            uint32_t seed = 12345 + t;
            while (!go) std::this_thread::yield();
            for (int i = 0; i < 2000; ++i) {
                seed = seed * 1103515245u + 12345u;
                bool first = ((seed >> 16) + t) % 2 == 0;
                const std::string& data = first ? a : b;
                size_t offset = (seed >> 8) % data.size();
                size_t length = 1 + (seed >> 4) % 200;
                char* buffer = nullptr;
                size_t n =
                    reader.ReadFile(first ? "a.txt" : "b.txt", &buffer, offset, length, false);
                if (!buffer || data.compare(offset, length, buffer, n) != 0) ++wrong;
                delete[] buffer;
            }
        });
    go = true;
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong, 0);
}

class DocumentTest : public InTempDir {
  protected:
    // Creates root/path with its directories.
    void Put(const std::string& path, const std::string& content) {
        testfiles::MakeParents(path);
        WriteAll(path, content);
    }
};

TEST_F(DocumentTest, FindsDocumentsByGroupsOfThree) {
    struct Case {
        const char* id;
        const char* file;
    } cases[] = {
        {"7", "data/7.txt"},
        {"123", "data/123.txt"},
        {"1234", "data/123/4.txt"},
        {"123456", "data/123/456.txt"},
        {"1234567", "data/123/456/7.txt"},
        {"ab.cd", "data/ab./cd.txt"},
        // Dots are plain bytes: the extension keeps a base name ".." a file.
        {"..", "data/...txt"},
        {"123..", "data/123/...txt"},
        {"...", "data/....txt"},
        {"....", "data/.../..txt"},
    };
    for (const Case& c : cases) Put(c.file, std::string("doc ") + c.id);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        std::string content;
        const char* text = GetFileContentById(c.id, "data", content);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(content, std::string("doc ") + c.id);
        EXPECT_EQ(text, content.c_str());
    }
    std::string content;
    EXPECT_STREQ(GetFileContentById("123", "data/", content), "doc 123");
    EXPECT_TRUE(DayEntries(Dir(), ".err").empty());
}

TEST_F(DocumentTest, FallsBackToHtmlAndRecordsAMissingDocument) {
    Put("data/123/456/7.txt", "");
    Put("data/123/456/7.html", "html page");
    Put("data/8.html", "only html");
    std::string content;
    EXPECT_STREQ(GetFileContentById("1234567", "data", content), "html page");
    EXPECT_STREQ(GetFileContentById("8", "data", content), "only html");

    content = "stale";
    EXPECT_EQ(GetFileContentById("9", "data", content), nullptr);
    EXPECT_EQ(content, "");
    EXPECT_EQ(DayEntries(Dir(), ".err"), (Lines{"Read file by ID fail!", "data/9.html"}));
    EXPECT_EQ(DayEntries(Dir(), ".log"),
              (Lines{"Failed open file  data/8.txt", "Failed open file  data/9.txt",
                     "Failed open file  data/9.html"}));
}

TEST_F(DocumentTest, RefusesIdentifiersThatLeaveTheRoot) {
    // Each would reach an existing file if it were read.
    Put("..x.txt", "outside ..x");
    Put("data/sub/a.txt", "a");
    struct Case {
        const char* id;
        const char* html;
    } cases[] = {
        {"", "data/.html"},
        {"../..x", "data/..//..x.html"},
        {"sub/a", "data/sub//a.html"},
        {"sub\\a", "data/sub/\\a.html"},
    };
    Lines expected_errors;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        std::string content = "stale";
        EXPECT_EQ(GetFileContentById(c.id, "data", content), nullptr);
        EXPECT_EQ(content, "");
        expected_errors.insert(expected_errors.end(), {"Read file by ID fail!", c.html});
    }
    EXPECT_EQ(DayEntries(Dir(), ".err"), expected_errors);
    EXPECT_TRUE(DayEntries(Dir(), ".log").empty()) << "nothing was read";
}

TEST_F(DocumentTest, LongNamesNeedNoFixedBuffer) {
    std::string root = "data";
    for (int i = 0; i < 9; ++i) root += "/" + std::string(250, static_cast<char>('a' + i));
    std::string path = root + "/123/456/7.txt";
    ASSERT_GT(path.size(), 2048u);
    Put(path, "deep");
    std::string content;
    EXPECT_STREQ(GetFileContentById("1234567", root.c_str(), content), "deep");
}

// A stream holding data, at its start.
FILE* StreamOf(const std::string& data) {
    FILE* fp = tmpfile();
    if (fp) {
        fwrite(data.data(), 1, data.size(), fp);
        rewind(fp);
    }
    return fp;
}

TEST(FileLines, CountsLinesAndRewinds) {
    struct Case {
        std::string data;
        size_t lines;
    } cases[] = {
        {"a\nb", 2}, {"a\nb\n", 2}, {"", 0}, {"\n\n", 2}, {std::string(2500, 'x'), 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data.substr(0, 10));
        FILE* fp = StreamOf(c.data);
        ASSERT_NE(fp, nullptr);
        fgetc(fp);  // counting starts at the beginning wherever the stream stands
        EXPECT_EQ(GetFileLinesCount(fp), c.lines);
        EXPECT_EQ(ftell(fp), 0);
        EXPECT_EQ(feof(fp), 0);
        fclose(fp);
    }
}

TEST_F(ReadFileTest, FileSizeFollowsLinks) {
    ASSERT_EQ(symlink("data.txt", "link"), 0);
    EXPECT_EQ(get_file_size("data.txt"), 100);
    EXPECT_EQ(get_file_size("link"), 100);
    EXPECT_EQ(get_file_size("empty.txt"), 0);
    EXPECT_EQ(get_file_size("missing"), -1);
}

std::string RecordBytes(const std::string& s) {
    FILE* fp = tmpfile();
    tstring_save(s, fp);
    std::string bytes(static_cast<size_t>(ftell(fp)), '\0');
    rewind(fp);
    EXPECT_EQ(fread(&bytes[0], 1, bytes.size(), fp), bytes.size());
    fclose(fp);
    return bytes;
}

TEST(StringRecord, SavesLengthAndBytes) {
    EXPECT_EQ(RecordBytes(""), std::string(4, '\0'));
    EXPECT_EQ(RecordBytes("abc"), std::string("\x03\0\0\0abc", 7));
    EXPECT_EQ(RecordBytes(std::string("a\0b", 3)), std::string("\x03\0\0\0a\0b", 7));
}

TEST(StringRecord, LoadsRecordsOneAfterAnother) {
    FILE* fp = tmpfile();
    ASSERT_NE(fp, nullptr);
    const std::string saved[] = {"", std::string("a\0b", 3), "\xC4\xE3\xBA\xC3" /* 你好 */};
    for (const std::string& s : saved) tstring_save(s, fp);
    rewind(fp);
    const std::string loaded[] = {"", "a", "\xC4\xE3\xBA\xC3"};
    for (const std::string& expected : loaded) {
        std::string s = "stale";
        tstring_load(s, fp);
        EXPECT_EQ(s, expected);
    }
    std::string s = "stale";
    tstring_load(s, fp);  // the stream has ended
    EXPECT_EQ(s, "");
    fclose(fp);
}

TEST(StringRecord, LengthBeyondTheDataReadsWhatIsThere) {
    struct Case {
        std::string stream;
        std::string expected;
    } cases[] = {
        {std::string("\x02\0", 2), ""},                  // cut inside the length
        {std::string("\x0A\0\0\0xyz", 7), "xyz"},        // cut inside the data
        {std::string("\xFF\xFF\xFF\xFFxyz", 7), "xyz"},  // the length plus one wraps
        {std::string("\x00\x28\x6B\xEE"
                     "xyz",
                     7),
         "xyz"},  // four billion announced
        {std::string("\x00\x00\x10\x00", 4) + std::string(5000, 'q'), std::string(5000, 'q')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.substr(0, 10));
        FILE* fp = StreamOf(c.stream);
        ASSERT_NE(fp, nullptr);
        std::string s = "stale";
        tstring_load(s, fp);
        EXPECT_EQ(s, c.expected);
        EXPECT_EQ(fgetc(fp), EOF) << "the record is consumed";
        fclose(fp);
    }
}

// The address space the process maps now, from /proc/self/status.
size_t MappedBytes() {
    std::istringstream in(ReadWholeFile("/proc/self/status"));
    for (std::string line; std::getline(in, line);)
        if (line.compare(0, 7, "VmSize:") == 0) return std::stoul(line.substr(7)) * 1024;
    return 0;
}

// Loads a record that announces four billion bytes but holds three, in a
// process whose address space may grow by 256 MiB only; exits 0 on success.
void LoadHugeRecordWithLittleMemory() {
    size_t limit = MappedBytes() + (256u << 20);
    struct rlimit rl = {limit, limit};
    if (MappedBytes() == 0 || setrlimit(RLIMIT_AS, &rl) != 0) exit(2);
    FILE* fp =
        StreamOf(std::string("\x00\x28\x6B\xEE"
                             "xyz",
                             7));
    std::string s;
    tstring_load(s, fp);
    exit(s == "xyz" ? 0 : 1);
}

TEST(StringRecord, LengthFieldAloneNeverSizesMemory) {
    EXPECT_EXIT(LoadHugeRecordWithLittleMemory(), testing::ExitedWithCode(0), "");
}

TEST(ReadNWord, AddsUpToCountWordsAndTakesOneLineMore) {
    FILE* fp = StreamOf("a b\nc\td\ne\nf\n");
    ASSERT_NE(fp, nullptr);
    std::vector<std::string> words{"old"};
    EXPECT_EQ(ReadNWord(fp, 3, words), 4u);
    EXPECT_EQ(words, (Lines{"old", "a", "b", "c"}));
    char line[10];
    ASSERT_NE(fgets(line, sizeof line, fp), nullptr);
    EXPECT_STREQ(line, "f\n") << "the stream stands after the third line";

    rewind(fp);
    EXPECT_EQ(ReadNWord(fp, 0, words), 4u);
    ASSERT_NE(fgets(line, sizeof line, fp), nullptr);
    EXPECT_STREQ(line, "c\td\n") << "a count of 0 still takes one line";

    rewind(fp);
    words.clear();
    EXPECT_EQ(ReadNWord(fp, 100, words), 6u);
    EXPECT_EQ(words, (Lines{"a", "b", "c", "d", "e", "f"}));
    fclose(fp);
}

TEST(ReadNWord, LongLinesArriveInPieces) {
    std::string line = std::string(10239, 'x') + "yz\n";
    FILE* fp = StreamOf(line);
    ASSERT_NE(fp, nullptr);
    std::vector<std::string> words;
    EXPECT_EQ(ReadNWord(fp, 5, words), 2u);
    EXPECT_EQ(words, (Lines{std::string(10239, 'x'), "yz"}));
    fclose(fp);
}

}  // namespace
