// The utility library: one header per topic.
#ifndef VARNEL_UTILITY_UTILITY_H
#define VARNEL_UTILITY_UTILITY_H

#include "Global.h"
#include "CharReader.h"
#include "Log.h"
#include "WordClass.h"
#include "ForeignName.h"
#include "ChineseNumber.h"
#include "Dictionary.h"
#include "SentenceScan.h"
#include "Similarity.h"

#endif
