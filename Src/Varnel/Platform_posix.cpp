#include <unistd.h>

#include "Platform.h"

const char kPathSeparator[] = "/";

tstring CurrentDirectory() {
    char sBuffer[1000] = {0};
    if (!getcwd(sBuffer, sizeof sBuffer)) return tstring();
    return sBuffer;
}
