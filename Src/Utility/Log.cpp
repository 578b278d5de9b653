#include "Log.h"

#include <ctime>
#include <mutex>

#include "Platform.h"

bool g_bLog = true;
std::string g_sLogPath;

namespace {

std::mutex g_logPathMutex;

// Fills g_sLogPath once under the lock; an empty result is tried again next time.
std::string DefaultLogDirectory() {
    std::lock_guard<std::mutex> lock(g_logPathMutex);
    if (g_sLogPath.empty()) g_sLogPath = CurrentDirectory();
    return g_sLogPath;
}

struct tm LocalNow() {
    struct tm now = {};
    LocalTime(time(nullptr), &now);
    return now;
}

std::string Format(const struct tm& when, const char* sFormat) {
    char sBuffer[100];
    size_t nLen = strftime(sBuffer, sizeof sBuffer, sFormat, &when);
    return std::string(sBuffer, nLen);
}

std::string Stamp(const struct tm& when) { return Format(when, "%Y-%m-%d %H:%M:%S"); }

std::string LogFileName(const char* sFilePath, bool bError, const struct tm& when) {
    std::string sName;
    if (!sFilePath) {
        sName = DefaultLogDirectory() + "/";
    } else {
        sName = sFilePath;
        if (sName.empty() || (sName.back() != '/' && sName.back() != '\\')) sName += '/';
    }
    return sName + Format(when, "%Y%m%d") + (bError ? ".err" : ".log");
}

}  // namespace

void WriteError(std::string content, const char* sFilePath) {
    WriteLog(std::move(content), sFilePath, true);
}

void WriteLog(std::string content, const char* sFilePath, bool bError) {
    if (!g_bLog) return;
    try {
        struct tm now = LocalNow();
        std::string sName = LogFileName(sFilePath, bError, now);
        std::string sStamp = Stamp(now);
        FILE* fp = fopen(sName.c_str(), "ab");
        if (fp) {
            fprintf(fp, "[%s]\t%s\n", sStamp.c_str(), content.c_str());
            fclose(fp);
            return;
        }
        printf("[%s] %s\n", sStamp.c_str(), content.c_str());
        printf("Cannot write log file %s!\r\n", sName.c_str());
    } catch (...) {
        // Reporting must never fail towards the caller, not even out of memory.
    }
}

void WriteLog(FILE* fp, std::string content) {
    try {
        std::string sStamp = Stamp(LocalNow());
        fprintf(fp ? fp : stdout, "[%s] %s\n", sStamp.c_str(), content.c_str());
        if (!fp) printf("Cannot write log file!\r\n");
    } catch (...) {
    }
}

const char* GetLastErrorMsg() { return g_sLastErrorMessage.c_str(); }
