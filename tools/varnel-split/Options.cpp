#include "Options.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "Encoding.h"
#include "VarnelVersion.h"

namespace {

const char kUsage[] =
    "Usage: varnel-split [OPTION]... [FILE]...\n"
    "Split the text of each FILE (standard input when there is none, or for \"-\")\n"
    "into sentences and print one sentence per line, in input order. A sentence\n"
    "that ends in its own line break keeps a single one. A NUL byte ends a text:\n"
    "what follows it is split as a text of its own.\n"
    "\n"
    "  -e, --encoding ENC       encoding of the input: utf-8 (default) or gbk; any\n"
    "                           case, and aliases such as utf8, u8, cp936, 936\n"
    "  -z, --null               end each sentence with a NUL byte instead of a line\n"
    "                           feed, and keep its own line breaks\n"
    "      --attach-closers     keep closing quotes and brackets that follow an end\n"
    "                           mark with the sentence they close\n"
    "      --reader             cut where a reader would (includes --attach-closers)\n"
    "      --abbreviations FILE  more words for the reader mode's list, one a line\n"
    "                           ('Dr', 'approx.', 'Ph.D.'; '#' starts a comment\n"
    "                           line): a '.' after one ends a sentence only where\n"
    "                           a new one clearly starts (implies --reader)\n"
    "  -j, --jobs N             split with N worker processes, 1 to 64 (default 1);\n"
    "                           the output is the same for every N\n"
    "  -b, --block-size SIZE    read and split the input at most SIZE bytes at a\n"
    "                           time (default 1M; suffixes K, M, G; 1K to 1G)\n"
    "      --progress           draw a progress bar on standard error\n"
    "      --no-progress        draw none; by default the bar is drawn when\n"
    "                           standard error is a terminal and standard output\n"
    "                           is not\n"
    "  -h, --help               print this help and exit\n"
    "      --version            print the version and exit\n"
    "\n"
    "Input is printed as it arrives, as far as a safe cut: after a NUL, after a\n"
    "line feed that ends a sentence, or, in a stretch longer than SIZE without\n"
    "one, between two sentences; the output is flushed whenever the input would\n"
    "block. So any input is split in linear time, and buffers take about\n"
    "4 * SIZE with one job and 7 * SIZE a worker with more (with --attach-closers\n"
    "or --reader, up to 32 bytes more a sentence of a block). Only a sentence\n"
    "longer than SIZE takes more: 2 to 4 times its length.\n"
    "\n"
    "Exit status: 0 when every file was split; 1 when a file could not be read,\n"
    "memory ran out (one message names the file), a worker stopped or the output\n"
    "could not be written; 2 for a bad option.\n";

const size_t kKB = size_t(1) << 10;
const int kMaxJobs = 64;

int BadValue(const char* sWhat, const std::string& sValue) {
    fprintf(stderr, "varnel-split: %s '%s'\n%s", sWhat, sValue.c_str(), kUsage);
    return 2;
}

// "4M", "512K", "1G" or plain bytes; 0 when not a size from 1K to 1G.
size_t ParseSize(const std::string& sSize) {
    char* pEnd = nullptr;
    errno = 0;
    unsigned long long n = strtoull(sSize.c_str(), &pEnd, 10);
    if (errno != 0 || pEnd == sSize.c_str() || sSize[0] == '-') return 0;
    std::string sSuffix = pEnd;
    unsigned nShift = 0;
    if (sSuffix == "K" || sSuffix == "k")
        nShift = 10;
    else if (sSuffix == "M" || sSuffix == "m")
        nShift = 20;
    else if (sSuffix == "G" || sSuffix == "g")
        nShift = 30;
    else if (!sSuffix.empty())
        return 0;
    // Refused before the shift, so that no size wraps round into the range.
    const unsigned long long nMax = 1ULL << 30;
    if (n > (nMax >> nShift)) return 0;
    n <<= nShift;
    return n < kKB ? 0 : static_cast<size_t>(n);
}

// The value of an option given as "-x VALUE", "-xVALUE", "--long VALUE" or
// "--long=VALUE". bMatched tells whether argv[i] is that option at all.
std::string OptionValue(int argc, char** argv, int& i, const std::string& sShort,
                        const std::string& sLong, bool& bMatched) {
    std::string sArg = argv[i];
    bMatched = true;
    if (sArg == sLong || (!sShort.empty() && sArg == sShort)) return i + 1 < argc ? argv[++i] : "";
    if (sArg.compare(0, sLong.size() + 1, sLong + "=") == 0) return sArg.substr(sLong.size() + 1);
    if (!sShort.empty() && sArg.size() > 2 && sArg.compare(0, 2, sShort) == 0 && sArg[1] != '-')
        return sArg.substr(2);
    bMatched = false;
    return "";
}

int SetEncoding(const std::string& sValue, Options& options) {
    int nEncode = varnel_host::EncodeFromName(sValue.c_str());
    if (nEncode < 0) {
        fprintf(stderr, "varnel-split: unknown encoding '%s' (use %s)\n", sValue.c_str(),
                varnel_host::EncodingNamesHelp());
        return 2;
    }
    options.format.nEncode = nEncode;
    return 0;
}

int SetJobs(const std::string& sValue, Options& options) {
    char* pEnd = nullptr;
    errno = 0;
    long n = strtol(sValue.c_str(), &pEnd, 10);
    if (sValue.empty() || *pEnd || errno != 0 || n < 1 || n > kMaxJobs)
        return BadValue("the number of jobs must be 1 to 64, not", sValue);
    options.nJobs = static_cast<int>(n);
    return 0;
}

int SetBlockSize(const std::string& sValue, Options& options) {
    options.nBlock = ParseSize(sValue);
    return options.nBlock ? 0 : BadValue("the block size must be 1K to 1G, not", sValue);
}

int SetAbbreviations(const std::string& sValue, Options& options) {
    if (sValue.empty()) return BadValue("--abbreviations needs a file, not", sValue);
    options.sAbbreviations = sValue;
    options.format.options.bReader = true;
    return 0;
}

// Options without a value. Returns 0 when set, -1 when answered, 1 when
// sArg is none of them.
int SetFlag(const std::string& sArg, Options& options) {
    if (sArg == "-h" || sArg == "--help") {
        fputs(kUsage, stdout);
        return -1;
    }
    if (sArg == "--version") {
        printf("varnel-split %s\n", VARNEL_VERSION);
        return -1;
    }
    if (sArg == "--progress" || sArg == "--no-progress")
        options.nProgress = sArg == "--progress";
    else if (sArg == "-z" || sArg == "--null")
        options.format.bNull = true;
    else if (sArg == "--attach-closers")
        options.format.options.bAttachClosers = true;
    else if (sArg == "--reader")
        options.format.options.bReader = true;
    else
        return 1;
    return 0;
}

// Returns 0 to go on, -1 to leave with status 0, or the status to leave with.
int ParseOption(int argc, char** argv, int& i, Options& options) {
    std::string sArg = argv[i];
    int nFlag = SetFlag(sArg, options);
    if (nFlag <= 0) return nFlag;
    struct {
        const char* sShort;
        const char* sLong;
        int (*set)(const std::string&, Options&);
    } const kValued[] = {
        {"-e", "--encoding", SetEncoding},
        {"-j", "--jobs", SetJobs},
        {"-b", "--block-size", SetBlockSize},
        {"", "--abbreviations", SetAbbreviations},
    };
    for (const auto& option : kValued) {
        bool bMatched;
        std::string sValue = OptionValue(argc, argv, i, option.sShort, option.sLong, bMatched);
        if (bMatched) return option.set(sValue, options);
    }
    fprintf(stderr, "varnel-split: unknown option '%s'\n%s", sArg.c_str(), kUsage);
    return 2;
}

}  // namespace

int ParseOptions(int argc, char** argv, Options& options) {
    bool bOptionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        std::string sArg = argv[i];
        if (bOptionsEnd || sArg == "-" || sArg[0] != '-') {
            options.vsFiles.push_back(sArg);
        } else if (sArg == "--") {
            bOptionsEnd = true;
        } else if (int nStatus = ParseOption(argc, argv, i, options)) {
            return nStatus;
        }
    }
    if (options.vsFiles.empty()) options.vsFiles.push_back("-");
    if (options.nProgress < 0) options.nProgress = isatty(STDERR_FILENO) && !isatty(STDOUT_FILENO);
    return 0;
}
