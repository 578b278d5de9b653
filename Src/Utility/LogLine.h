// The stamped line that every error and log writer appends, and the lazily
// filled default directory it goes to. Shared by the Linux writers (Log.cpp)
// and the Windows error writer (Log_windows.cpp).
#ifndef VARNEL_UTILITY_LOGLINE_H
#define VARNEL_UTILITY_LOGLINE_H

#include <ctime>
#include <string>

namespace varnel {

// The local time of one clock reading; all zero when it cannot be converted.
struct tm LocalNow();

// when formatted with strftime's sFormat into a 100-byte buffer.
std::string FormatTime(const struct tm& when, const char* sFormat);

// The stamp of a line, "%Y-%m-%d %H:%M:%S".
std::string TimeStamp(const struct tm& when);

// sDirectory, filled with the working directory first when it is empty (an
// empty result is tried again next time). One lock guards every such string.
std::string DefaultLogDirectory(std::string& sDirectory);

// Appends "[stamp]\t<content>\n" to the file sName, opened with mode "ab" and
// closed at once. When it cannot be opened, or the line cannot be written (a
// full disk), prints "[stamp] <content>\n" and "Cannot write log file
// <sName>!\r\n" to standard output instead. The content ends at its first NUL.
void AppendLogLine(const std::string& sName, const std::string& sStamp, const std::string& content);

}  // namespace varnel

#endif
