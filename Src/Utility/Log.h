// The day's error and log files: one stamped line per report.
//
// A file is named by the local date, "%Y%m%d" plus ".err" or ".log", inside the
// log directory. A line is "[%Y-%m-%d %H:%M:%S]\t<content>\n", appended with
// mode "ab"; the date and the stamp come from one reading of the clock. When
// the file cannot be opened or the line cannot be written (a full disk), the
// stamped line and "Cannot write log file <name>!\r\n" go to standard output
// instead. The writers never fail towards
// the caller.
#ifndef VARNEL_UTILITY_LOG_H
#define VARNEL_UTILITY_LOG_H

#include <cstdio>
#include <string>

// Switch of WriteLog(content, sFilePath, bError) and WriteError; true.
extern bool g_bLog;

// The default log directory: the working directory at the first report that
// needed it (tried again while it stays empty), without a trailing separator.
extern std::string g_sLogPath;

// Appends content to the day's error file of the default directory (null
// sFilePath) or of the directory sFilePath.
void WriteError(std::string content, const char* sFilePath);

// Appends content to the day's error file (bError) or log file of the default
// directory (null sFilePath) or of the directory sFilePath; a "/" is put
// between directory and date unless the directory ends in '/' or '\'.
void WriteLog(std::string content, const char* sFilePath, bool bError);

// Writes "[stamp] content\n" to the open stream fp, which stays open and
// unflushed, or to standard output with "Cannot write log file!\r\n" when fp
// is null. Ignores g_bLog.
void WriteLog(FILE* fp, std::string content);

// The library's last error text; valid until it next changes.
const char* GetLastErrorMsg();

#endif
