// The utility library: one header per topic.
#ifndef VARNEL_UTILITY_UTILITY_H
#define VARNEL_UTILITY_UTILITY_H

#include "Global.h"
#include "global_linux.h"
#include "Ascii.h"
#include "CharReader.h"
#include "ChineseNumber.h"
#include "DateTime.h"
#include "Dictionary.h"
#include "FileSystem.h"
#include "ForeignName.h"
#include "Hash.h"
#include "IntList.h"
#include "Log.h"
#include "Path.h"
#include "ReadFile.h"
#include "SentenceScan.h"
#include "Similarity.h"
#include "Token.h"
#include "WordClass.h"
#include "WordTag.h"
#include "XmlItem.h"

#endif
