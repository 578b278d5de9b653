#include "Log_windows.h"

#include "LogLine.h"

using varnel::AppendLogLine;
using varnel::DefaultLogDirectory;
using varnel::FormatTime;
using varnel::LocalNow;
using varnel::TimeStamp;

namespace {
// The error file's directory, kept apart from the Linux build's g_sLogPath.
std::string g_sErrorLogPath;
}  // namespace

void WriteError(std::string content) {
    try {
        struct tm now = LocalNow();
        std::string sName =
            DefaultLogDirectory(g_sErrorLogPath) + "\\" + FormatTime(now, "%Y%m%d") + ".err";
        AppendLogLine(sName, TimeStamp(now), content);
    } catch (...) {
        // Reporting must never fail towards the caller, not even out of memory.
    }
}
