// varnel-split: prints the sentences of text files, one per line.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Chunks.h"
#include "Jobs.h"
#include "Progress.h"
#include "Varnel.h"

namespace {

const char kUsage[] =
    "Usage: varnel-split [OPTION]... [FILE]...\n"
    "Split the text of each FILE (standard input when there is none, or for \"-\")\n"
    "into sentences and print one sentence per line, in input order. A sentence\n"
    "that ends in its own line break keeps a single one. A NUL byte ends a text:\n"
    "what follows it is split as a text of its own.\n"
    "\n"
    "  -e, --encoding ENC    encoding of the input: utf8 (default) or gbk\n"
    "  -j, --jobs N          split with N worker processes, 1 to 64 (default 1);\n"
    "                        the output is the same for every N\n"
    "  -b, --block-size SIZE read and split the input SIZE bytes at a time\n"
    "                        (default 1M; suffixes K, M and G; 1K to 1G)\n"
    "      --progress        draw a progress bar with bytes and MB/s on standard\n"
    "                        error (the default when it is a terminal)\n"
    "      --no-progress     draw no progress bar\n"
    "  -h, --help            print this help and exit\n"
    "\n"
    "The input is read one block at a time and cut only after a NUL or after a\n"
    "line feed that ends a sentence, so files larger than memory can be split.\n"
    "Buffers take about 4 * SIZE with one job and 7 * SIZE a worker with more;\n"
    "more is needed only where a text runs longer than SIZE without such a line\n"
    "feed.\n"
    "\n"
    "Exit status: 0 when every file was split, 1 when a file could not be read\n"
    "or the output could not be written, 2 for a bad option.\n";

const size_t kKB = size_t(1) << 10;
const int kMaxJobs = 64;

struct Options {
    int nEncode = 1;
    int nJobs = 1;
    size_t nBlock = kKB * kKB;
    int nProgress = -1;  // -1: when standard error is a terminal
    std::vector<std::string> vsFiles;
};

enum class Outcome { kSplit, kUnreadable, kOutputFailed };

// Reads into p until nWant bytes are there or the input ends; false on a read
// error (errno tells which).
bool ReadFull(int fd, char* p, size_t nWant, size_t& nGot, bool& bEnd) {
    nGot = 0;
    bEnd = false;
    while (nGot < nWant) {
        ssize_t n = read(fd, p + nGot, nWant - nGot);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            bEnd = true;
            break;
        }
        nGot += static_cast<size_t>(n);
    }
    return true;
}

// Splits one input after another through the job queue.
class FileSplitter {
  public:
    FileSplitter(const Options& options, JobQueue& queue, Progress& progress)
        : m_options(options), m_queue(queue), m_progress(progress) {}

    Outcome Split(const std::string& sName);

  private:
    Outcome SplitFrom(int fd, const std::string& sName);
    Outcome SplitLongStretch(int fd, const std::string& sName, const char* p, size_t n, bool& bEnd);
    Outcome ReadError(const std::string& sName, int nError);

    const Options& m_options;
    JobQueue& m_queue;
    Progress& m_progress;
    std::string m_sCarry;  // read but not yet split: the rest after the last safe cut
};

Outcome FileSplitter::Split(const std::string& sName) {
    bool bStdin = sName == "-";
    int fd = bStdin ? STDIN_FILENO : open(sName.c_str(), O_RDONLY);
    if (fd < 0) {
        fprintf(stderr, "varnel-split: cannot open '%s': %s\n", sName.c_str(), strerror(errno));
        return Outcome::kUnreadable;
    }
    struct stat info;
    bool bSized = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    m_progress.Start(sName, bSized ? static_cast<size_t>(info.st_size) : 0);
    m_sCarry.clear();
    Outcome outcome = SplitFrom(fd, sName);
    if (!m_queue.Finish()) outcome = Outcome::kOutputFailed;
    m_progress.Finish();
    if (!bStdin) close(fd);
    return outcome;
}

Outcome FileSplitter::ReadError(const std::string& sName, int nError) {
    fprintf(stderr, "varnel-split: cannot read '%s': %s\n", sName.c_str(), strerror(nError));
    return Outcome::kUnreadable;
}

// Each block starts with what the last one left after its last safe cut; the
// part up to the block's own last safe cut becomes a job.
Outcome FileSplitter::SplitFrom(int fd, const std::string& sName) {
    bool bEnd = false;
    while (!bEnd) {
        char* pIn = m_queue.NextInput();
        if (!pIn) return Outcome::kOutputFailed;
        size_t nCarry = m_sCarry.size(), nRead;
        memcpy(pIn, m_sCarry.data(), nCarry);
        if (!ReadFull(fd, pIn + nCarry, m_options.nBlock - nCarry, nRead, bEnd))
            return ReadError(sName, errno);
        size_t n = nCarry + nRead;
        size_t nCut = bEnd ? n : SafeCutLength(pIn, n, m_options.nEncode);
        if (nCut == 0 && !bEnd) {
            Outcome outcome = SplitLongStretch(fd, sName, pIn, n, bEnd);
            if (outcome != Outcome::kSplit) return outcome;
            continue;
        }
        m_sCarry.assign(pIn + nCut, n - nCut);
        if (nCut > 0 && !m_queue.Submit(nCut)) return Outcome::kOutputFailed;
    }
    return Outcome::kSplit;
}

// A whole block without a safe cut: once every earlier job is written, this
// process reads on until a safe cut or the end and splits that stretch itself.
Outcome FileSplitter::SplitLongStretch(int fd, const std::string& sName, const char* p, size_t n,
                                       bool& bEnd) {
    if (!m_queue.Finish()) return Outcome::kOutputFailed;
    std::string sText(p, n);
    size_t nCut = 0;
    while (nCut == 0 && !bEnd) {
        size_t nOld = sText.size(), nRead;
        sText.resize(nOld + m_options.nBlock);
        if (!ReadFull(fd, &sText[nOld], m_options.nBlock, nRead, bEnd))
            return ReadError(sName, errno);
        sText.resize(nOld + nRead);
        nCut = bEnd ? sText.size() : SafeCutLength(sText.data(), sText.size(), m_options.nEncode);
    }
    m_sCarry.assign(sText, nCut, std::string::npos);
    sText.resize(nCut);
    std::string sOut(2 * nCut, '\0');
    size_t nOut = SplitJob(sText.c_str(), nCut, m_options.nEncode, &sOut[0]);
    if (!m_queue.Write(sOut.data(), nOut)) return Outcome::kOutputFailed;
    m_progress.Add(nCut);
    return Outcome::kSplit;
}

// "4M", "512K", "1G" or plain bytes; 0 when not a size from 1K to 1G.
size_t ParseSize(const std::string& sSize) {
    char* pEnd = nullptr;
    errno = 0;
    unsigned long long n = strtoull(sSize.c_str(), &pEnd, 10);
    if (errno != 0 || pEnd == sSize.c_str() || sSize[0] == '-') return 0;
    std::string sSuffix = pEnd;
    if (sSuffix == "K" || sSuffix == "k")
        n <<= 10;
    else if (sSuffix == "M" || sSuffix == "m")
        n <<= 20;
    else if (sSuffix == "G" || sSuffix == "g")
        n <<= 30;
    else if (!sSuffix.empty())
        return 0;
    if (n < kKB || n > (1ULL << 30)) return 0;
    return static_cast<size_t>(n);
}

// The value of an option given as "-x VALUE", "-xVALUE", "--long VALUE" or
// "--long=VALUE". bMatched tells whether argv[i] is that option at all.
std::string OptionValue(int argc, char** argv, int& i, const std::string& sShort,
                        const std::string& sLong, bool& bMatched) {
    std::string sArg = argv[i];
    bMatched = true;
    if (sArg == sShort || sArg == sLong) return i + 1 < argc ? argv[++i] : "";
    if (sArg.compare(0, sLong.size() + 1, sLong + "=") == 0) return sArg.substr(sLong.size() + 1);
    if (sArg.size() > 2 && sArg.compare(0, 2, sShort) == 0 && sArg[1] != '-') return sArg.substr(2);
    bMatched = false;
    return "";
}

int BadValue(const char* sWhat, const std::string& sValue) {
    fprintf(stderr, "varnel-split: %s '%s'\n%s", sWhat, sValue.c_str(), kUsage);
    return 2;
}

int SetEncoding(const std::string& sValue, Options& options) {
    if (sValue == "utf8" || sValue == "utf-8") {
        options.nEncode = 1;
    } else if (sValue == "gbk") {
        options.nEncode = 0;
    } else {
        fprintf(stderr, "varnel-split: unknown encoding '%s' (use utf8 or gbk)\n", sValue.c_str());
        return 2;
    }
    return 0;
}

int SetJobs(const std::string& sValue, Options& options) {
    char* pEnd = nullptr;
    long n = strtol(sValue.c_str(), &pEnd, 10);
    if (sValue.empty() || *pEnd || n < 1 || n > kMaxJobs)
        return BadValue("the number of jobs must be 1 to 64, not", sValue);
    options.nJobs = static_cast<int>(n);
    return 0;
}

int SetBlockSize(const std::string& sValue, Options& options) {
    options.nBlock = ParseSize(sValue);
    return options.nBlock ? 0 : BadValue("the block size must be 1K to 1G, not", sValue);
}

// Returns 0 to go on, -1 to leave with status 0, or the status to leave with.
int ParseOption(int argc, char** argv, int& i, Options& options) {
    std::string sArg = argv[i];
    if (sArg == "-h" || sArg == "--help") {
        fputs(kUsage, stdout);
        return -1;
    }
    if (sArg == "--progress" || sArg == "--no-progress") {
        options.nProgress = sArg == "--progress";
        return 0;
    }
    bool bMatched;
    std::string sValue = OptionValue(argc, argv, i, "-e", "--encoding", bMatched);
    if (bMatched) return SetEncoding(sValue, options);
    sValue = OptionValue(argc, argv, i, "-j", "--jobs", bMatched);
    if (bMatched) return SetJobs(sValue, options);
    sValue = OptionValue(argc, argv, i, "-b", "--block-size", bMatched);
    if (bMatched) return SetBlockSize(sValue, options);
    fprintf(stderr, "varnel-split: unknown option '%s'\n%s", sArg.c_str(), kUsage);
    return 2;
}

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
    if (options.nProgress < 0) options.nProgress = isatty(STDERR_FILENO);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    int nStatus = ParseOptions(argc, argv, options);
    if (nStatus == -1) return 0;
    if (nStatus != 0) return nStatus;

    static char sOutBuffer[1 << 16];
    setvbuf(stdout, sOutBuffer, _IOFBF, sizeof sOutBuffer);
    Progress progress(options.nProgress != 0);
    JobQueue queue(options.nJobs, options.nBlock, options.nEncode,
                   [&progress](size_t nBytes) { progress.Add(nBytes); });
    if (!queue.Ready()) return 1;
    // This process splits too: with one job, and where a text runs long
    // without a safe cut.
    VN_Init(nullptr, nullptr);
    FileSplitter splitter(options, queue, progress);
    for (const std::string& sName : options.vsFiles) {
        Outcome outcome = splitter.Split(sName);
        if (outcome == Outcome::kUnreadable) nStatus = 1;
        if (outcome != Outcome::kOutputFailed) continue;
        nStatus = 1;  // a worker that failed has said so; a failed write is told below
        break;
    }
    VN_Exit();
    int nWriteError = queue.WriteError();
    if (fflush(stdout) != 0 && nWriteError == 0) nWriteError = errno;
    if (nWriteError != 0 || ferror(stdout)) {
        fprintf(stderr, "varnel-split: cannot write the output: %s\n",
                strerror(nWriteError ? nWriteError : EIO));
        return 1;
    }
    return nStatus;
}
