#include <direct.h>

#include "Platform.h"

const char kPathSeparator[] = "\\";

tstring CurrentDirectory() {
    char sBuffer[1000] = {0};
    if (!_getcwd(sBuffer, sizeof sBuffer)) return tstring();
    return sBuffer;
}

// localtime_s takes its arguments in the opposite order to localtime_r and
// returns 0 on success.
bool LocalTime(time_t nTime, struct tm* pResult) { return localtime_s(pResult, &nTime) == 0; }
