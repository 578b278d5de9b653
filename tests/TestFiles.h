// Shared by the file, directory and log tests: a fresh temporary directory per
// test that is also the working and default log directory, and readers of the
// day's log files that check every line's stamp against the file's date.
#ifndef VARNEL_TESTS_TESTFILES_H
#define VARNEL_TESTS_TESTFILES_H

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Commands.h"
#include "Log.h"

namespace testfiles {

// The length of a stamp "[YYYY-MM-DD hh:mm:ss]".
const size_t kStampLength = 21;

inline void WriteAll(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

// n letters running through the alphabet from first, so that neighbouring
// bytes differ: "abc...zab...".
inline std::string Letters(size_t n, char first = 'a') {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += static_cast<char>(first + i % 26);
    return s;
}

// Creates the directories that lead to path (not path itself).
inline void MakeParents(const std::string& path) {
    for (size_t slash = path.find('/'); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0755);
}

inline bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// A FIFO created under name and fed with data by a thread of its own, which
// closes it afterwards, so that a reader sees the data and then its end.
class FifoFeeder {
  public:
    FifoFeeder(const std::string& name, const std::string& data) : name_(name) {
        if (mkfifo(name.c_str(), 0600) != 0) {
            ADD_FAILURE() << "mkfifo " << name;
            return;
        }
        writer_ = std::thread([name, data] {
            // A reader that leaves early makes the write fail instead of
            // killing the test program.
            sigset_t pipe_signal;
            sigemptyset(&pipe_signal);
            sigaddset(&pipe_signal, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipe_signal, nullptr);
            int fd = open(name.c_str(), O_WRONLY);  // waits for a reader
            if (fd < 0) return;
            EXPECT_EQ(write(fd, data.data(), data.size()), static_cast<ssize_t>(data.size()));
            close(fd);
        });
    }
    FifoFeeder(const FifoFeeder&) = delete;
    FifoFeeder& operator=(const FifoFeeder&) = delete;
    ~FifoFeeder() {
        if (!writer_.joinable()) return;
        // Releases a writer still waiting because the test never opened the FIFO.
        int fd = open(name_.c_str(), O_RDONLY | O_NONBLOCK);
        writer_.join();
        if (fd >= 0) close(fd);
    }

  private:
    std::string name_;
    std::thread writer_;
};

inline std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

inline bool IsDigitAt(const std::string& s, size_t pos) {
    return pos < s.size() && s[pos] >= '0' && s[pos] <= '9';
}

// Whether s holds a stamp "[YYYY-MM-DD hh:mm:ss]" at pos.
inline bool IsStampAt(const std::string& s, size_t pos) {
    static const char shape[] = "[dddd-dd-dd dd:dd:dd]";
    if (pos + kStampLength > s.size()) return false;
    for (size_t i = 0; i < kStampLength; ++i)
        if (shape[i] == 'd' ? !IsDigitAt(s, pos + i) : s[pos + i] != shape[i]) return false;
    return true;
}

// Whether s holds a day file's date at pos: eight digits, then ".err" or ".log".
inline bool IsDayFileDateAt(const std::string& s, size_t pos) {
    for (size_t i = 0; i < 8; ++i)
        if (!IsDigitAt(s, pos + i)) return false;
    return s.compare(pos + 8, 4, ".err") == 0 || s.compare(pos + 8, 4, ".log") == 0;
}

// text with every stamp written as "[T]" and every day file's date as "DATE",
// so that tests compare exact text without knowing the clock.
inline std::string Masked(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (IsStampAt(text, i)) {
            out += "[T]";
            i += kStampLength;
        } else if (IsDayFileDateAt(text, i)) {
            out += "DATE";
            i += 8;
        } else {
            out += text[i++];
        }
    }
    return out;
}

// The names of dir made of prefix, a day file's date and extension.
inline std::vector<std::string> DayFiles(const std::string& dir, const std::string& prefix,
                                         const std::string& extension) {
    std::vector<std::string> files;
    for (const std::string& name : Entries(dir))
        if (name.size() == prefix.size() + 8 + extension.size() &&
            name.compare(0, prefix.size(), prefix) == 0 && IsDayFileDateAt(name, prefix.size()) &&
            name.compare(prefix.size() + 8, std::string::npos, extension) == 0)
            files.push_back(name);
    return files;
}

// The contents of every line of the day's files (".err" or ".log") of dir
// whose names start with prefix. Each line must read "[stamp]\t<content>"
// with the stamp's date equal to the file's.
inline std::vector<std::string> DayEntries(const std::string& dir, const std::string& extension,
                                           const std::string& prefix = "") {
    std::vector<std::string> contents;
    for (const std::string& name : DayFiles(dir, prefix, extension)) {
        std::string date = name.substr(prefix.size(), 8);
        std::istringstream in(ReadWholeFile(dir + "/" + name));
        for (std::string line; std::getline(in, line);) {
            bool well_formed =
                IsStampAt(line, 0) && line.size() > kStampLength && line[kStampLength] == '\t';
            EXPECT_TRUE(well_formed) << name << ": " << line;
            if (!well_formed) continue;
            EXPECT_EQ(line.substr(1, 4) + line.substr(6, 2) + line.substr(9, 2), date)
                << "stamp and file date differ";
            contents.push_back(line.substr(kStampLength + 1));
        }
    }
    return contents;
}

using ::TempDir;

// Runs a test in a fresh temporary directory, with the time zone fixed and the
// default log directory not yet chosen, so that the first default line goes
// into the temporary directory.
class InTempDir : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.path().empty());
        setenv("TZ", "UTC", 1);
        tzset();
        char buffer[4096];
        ASSERT_NE(getcwd(buffer, sizeof buffer), nullptr);
        previous_ = buffer;
        ASSERT_EQ(chdir(dir_.path().c_str()), 0);
        g_sLogPath.clear();
        g_bLog = true;
    }
    void TearDown() override {
        EXPECT_EQ(chdir(previous_.c_str()), 0);
        g_sLogPath.clear();
        g_bLog = true;
    }
    std::string Path(const std::string& name) const { return dir_.path() + "/" + name; }
    const std::string& Dir() const { return dir_.path(); }

  private:
    TempDir dir_;
    std::string previous_;
};

}  // namespace testfiles

#endif
