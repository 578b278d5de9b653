// Helpers for tests that run programs and read what they leave behind.
#ifndef VARNEL_TESTS_COMMANDS_H
#define VARNEL_TESTS_COMMANDS_H

#include <sys/wait.h>

#include <cstdio>
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

#endif
