// Helpers for tests that run programs and read what they leave behind, in
// temporary directories of their own.
#ifndef VARNEL_TESTS_COMMANDS_H
#define VARNEL_TESTS_COMMANDS_H

#include <ftw.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <vector>
#include <fstream>
#include <sstream>
#include <string>

// The whole content of a file; empty when it cannot be read.
inline std::string ReadWholeFile(const std::string& sName) {
    std::ifstream in(sName, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Runs sCommand through the shell and returns its standard output; pStatus,
// when given, receives the exit status (-1 when it did not exit normally).
inline std::string CommandOutput(const std::string& sCommand, int* pStatus = nullptr) {
    std::string sOut;
    FILE* fp = popen(sCommand.c_str(), "r");
    if (!fp) {
        if (pStatus) *pStatus = -1;
        return sOut;
    }
    char sBuffer[4096];
    size_t n;
    while ((n = fread(sBuffer, 1, sizeof sBuffer, fp)) > 0) sOut.append(sBuffer, n);
    int nRaw = pclose(fp);
    if (pStatus) *pStatus = WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1;
    return sOut;
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

#endif
