// The error writer of the Windows build, which carries no other logging.
//
// It appends one line "[%Y-%m-%d %H:%M:%S]\t<content>\n" with mode "ab" to the
// file <directory>\<%Y%m%d>.err, where the directory is the working directory
// at the first call (tried again while it stays empty) and the date and stamp
// come from one reading of the clock. When the file cannot be opened, the
// stamped line and "Cannot write log file <name>!\r\n" go to standard output
// instead. It never fails towards the caller.
#ifndef VARNEL_UTILITY_LOG_WINDOWS_H
#define VARNEL_UTILITY_LOG_WINDOWS_H

#include <string>

void WriteError(std::string content);

#endif
