// varnel-split's command line.
#ifndef VARNEL_SPLIT_OPTIONS_H
#define VARNEL_SPLIT_OPTIONS_H

#include <cstddef>
#include <string>
#include <vector>

#include "Jobs.h"

struct Options {
    SplitFormat format;
    int nJobs = 1;
    size_t nBlock = size_t(1) << 20;
    int nProgress = -1;          // -1: when standard error is a terminal and standard output is not
    std::string sAbbreviations;  // the reader mode's file of abbreviations; empty: none
    std::vector<std::string> vsFiles;
};

// Parses argv into options. Returns 0 to go on, -1 when --help or --version
// has been answered, or the exit status for a bad option (its message printed).
int ParseOptions(int argc, char** argv, Options& options);

#endif
