// The utility library: one header per topic.
#ifndef VARNEL_UTILITY_UTILITY_H
#define VARNEL_UTILITY_UTILITY_H

#include "Global.h"
#include "CharReader.h"
#include "Log.h"
#include "Token.h"
#include "ReadFile.h"
#include "FileSystem.h"
#include "WordTag.h"

#endif
