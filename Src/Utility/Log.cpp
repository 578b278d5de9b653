#include "Log.h"

#include "Global.h"
#include "LogLine.h"

using varnel::AppendLogLine;
using varnel::DefaultLogDirectory;
using varnel::FormatTime;
using varnel::LocalNow;
using varnel::TimeStamp;

bool g_bLog = true;
std::string g_sLogPath;

namespace {

std::string LogFileName(const char* sFilePath, bool bError, const struct tm& when) {
    std::string sName;
    if (!sFilePath) {
        sName = DefaultLogDirectory(g_sLogPath) + "/";
    } else {
        sName = sFilePath;
        if (sName.empty() || (sName.back() != '/' && sName.back() != '\\')) sName += '/';
    }
    return sName + FormatTime(when, "%Y%m%d") + (bError ? ".err" : ".log");
}

}  // namespace

void WriteError(std::string content, const char* sFilePath) {
    WriteLog(std::move(content), sFilePath, true);
}

void WriteLog(std::string content, const char* sFilePath, bool bError) {
    if (!g_bLog) return;
    try {
        struct tm now = LocalNow();
        AppendLogLine(LogFileName(sFilePath, bError, now), TimeStamp(now), content);
    } catch (...) {
        // Reporting must never fail towards the caller, not even out of memory.
    }
}

void WriteLog(FILE* fp, std::string content) {
    try {
        std::string sStamp = TimeStamp(LocalNow());
        fprintf(fp ? fp : stdout, "[%s] %s\n", sStamp.c_str(), content.c_str());
        if (!fp) printf("Cannot write log file!\r\n");
    } catch (...) {
    }
}

const char* GetLastErrorMsg() { return g_sLastErrorMessage.c_str(); }
