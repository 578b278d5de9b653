// Types and process-wide strings shared by the splitter and the utility library.
#ifndef VARNEL_UTILITY_GLOBAL_H
#define VARNEL_UTILITY_GLOBAL_H

#include <string>

typedef std::string tstring;
typedef unsigned int tuint;

// The library's data directory: the initialisation directory, the platform
// separator, then "Data". Set by VN_Init; kept until the library is unloaded.
extern tstring g_sDefaultDir;

// The library's last error message, read by VN_GetLastErrorMsg and GetLastErrorMsg.
extern tstring g_sLastErrorMessage;

#endif
