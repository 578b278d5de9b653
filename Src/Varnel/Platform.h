// What the interface needs from the platform; one source file per platform.
#ifndef VARNEL_VARNEL_PLATFORM_H
#define VARNEL_VARNEL_PLATFORM_H

#include "../Utility/Global.h"

// The separator that joins the data directory: "/" or a backslash.
extern const char kPathSeparator[];

// The current working directory, or the empty string when it cannot be read
// or does not fit in 999 bytes.
tstring CurrentDirectory();

#endif
