// What the library needs from the platform; one source file per platform
// (Platform_posix.cpp, Platform_windows.cpp), chosen by the build.
#ifndef VARNEL_UTILITY_PLATFORM_H
#define VARNEL_UTILITY_PLATFORM_H

#include <ctime>

#include "Global.h"

// The separator that joins the data directory: "/" or a backslash.
extern const char kPathSeparator[];

// The current working directory, or the empty string when it cannot be read
// or does not fit in 999 bytes.
tstring CurrentDirectory();

// Re-entrant conversion of a clock reading to local time; false on failure.
bool LocalTime(time_t nTime, struct tm* pResult);

#endif
