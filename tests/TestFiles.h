// Shared by the file, directory and log tests: a fresh temporary directory per
// test that is also the working and default log directory, and readers of the
// day's log files that check every line's stamp against the file's date.
#ifndef VARNEL_TESTS_TESTFILES_H
#define VARNEL_TESTS_TESTFILES_H

#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "Log.h"

namespace testfiles {

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteAll(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

inline bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

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

// Characters of s that a regular expression would take as operators are escaped.
inline std::string RegexQuote(const std::string& s) {
    static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
    return std::regex_replace(s, special, R"(\$&)");
}

// A stamp "[YYYY-MM-DD hh:mm:ss]" as a pattern; the date parts are groups.
inline const char* StampPattern() { return R"(\[(\d{4})-(\d{2})-(\d{2}) \d{2}:\d{2}:\d{2}\])"; }

// The names of dir named prefix, eight digits and extension (".err", ".log").
inline std::vector<std::string> DayFiles(const std::string& dir, const std::string& prefix,
                                         const std::string& extension) {
    std::regex pattern(RegexQuote(prefix) + R"(\d{8})" + RegexQuote(extension));
    std::vector<std::string> files;
    for (const std::string& name : Entries(dir))
        if (std::regex_match(name, pattern)) files.push_back(name);
    return files;
}

// The contents of every line of the day's files (".err" or ".log") of dir
// whose names start with prefix. Each line must read "[stamp]\t<content>"
// with the stamp's date equal to the file's.
inline std::vector<std::string> DayEntries(const std::string& dir, const std::string& extension,
                                           const std::string& prefix = "") {
    std::vector<std::string> contents;
    std::regex line(std::string("^") + StampPattern() + "\t(.*)$");
    for (const std::string& name : DayFiles(dir, prefix, extension)) {
        std::string date = name.substr(prefix.size(), 8);
        std::istringstream in(ReadAll(dir + "/" + name));
        for (std::string text; std::getline(in, text);) {
            std::smatch m;
            EXPECT_TRUE(std::regex_match(text, m, line)) << name << ": " << text;
            if (m.empty()) continue;
            EXPECT_EQ(m.str(1) + m.str(2) + m.str(3), date) << "stamp and file date differ";
            contents.push_back(m.str(4));
        }
    }
    return contents;
}

// A fresh directory that is removed with everything below it.
class TempDir {
  public:
    TempDir() {
        const char* base = getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/varnel-test-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back(0);
        if (mkdtemp(buffer.data())) path_ = buffer.data();
    }
    ~TempDir() {
        if (!path_.empty()) nftw(path_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }

  private:
    static int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
        remove(path);
        return 0;
    }
    std::string path_;
};

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
