#include <unistd.h>

#include "Platform.h"

const char kPathSeparator[] = "/";

tstring CurrentDirectory() {
    char sBuffer[1000] = {0};
    if (!getcwd(sBuffer, sizeof sBuffer)) return tstring();
    return sBuffer;
}

bool LocalTime(time_t nTime, struct tm* pResult) { return localtime_r(&nTime, pResult) != nullptr; }
