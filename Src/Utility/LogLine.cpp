#include "LogLine.h"

#include <cstdio>
#include <mutex>

#include "Platform.h"

namespace varnel {
namespace {
std::mutex g_logDirectoryMutex;
}

struct tm LocalNow() {
    struct tm now = {};
    LocalTime(time(nullptr), &now);
    return now;
}

std::string FormatTime(const struct tm& when, const char* sFormat) {
    char sBuffer[100];
    size_t nLen = strftime(sBuffer, sizeof sBuffer, sFormat, &when);
    return std::string(sBuffer, nLen);
}

std::string TimeStamp(const struct tm& when) { return FormatTime(when, "%Y-%m-%d %H:%M:%S"); }

std::string DefaultLogDirectory(std::string& sDirectory) {
    std::lock_guard<std::mutex> lock(g_logDirectoryMutex);
    if (sDirectory.empty()) sDirectory = CurrentDirectory();
    return sDirectory;
}

void AppendLogLine(const std::string& sName, const std::string& sStamp,
                   const std::string& content) {
    // A line that cannot be written (a full disk) is not lost either.
    FILE* fp = fopen(sName.c_str(), "ab");
    if (fp) {
        bool bWritten = fprintf(fp, "[%s]\t%s\n", sStamp.c_str(), content.c_str()) >= 0;
        if ((fclose(fp) == 0) && bWritten) return;
    }
    printf("[%s] %s\n", sStamp.c_str(), content.c_str());
    printf("Cannot write log file %s!\r\n", sName.c_str());
}

}  // namespace varnel
