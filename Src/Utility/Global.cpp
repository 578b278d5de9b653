#include "Global.h"

tstring g_sDefaultDir;
tstring g_sLastErrorMessage;
