// varnel-split: prints the sentences of text files, one per line.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Abbreviations.h"
#include "Input.h"
#include "Jobs.h"
#include "Options.h"
#include "Progress.h"
#include "Varnel.h"

namespace {

// Splits every file; the run's exit status but for a failed write.
int SplitAll(const Options& options, JobQueue& queue, Progress& progress) {
    int nStatus = 0;
    FileSplitter splitter(options, queue, progress);
    for (const std::string& sName : options.vsFiles) {
        Outcome outcome = splitter.Split(sName);
        if (outcome == Outcome::kSplit) continue;
        nStatus = 1;
        if (outcome == Outcome::kFailed) break;
    }
    return nStatus;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    int nStatus = ParseOptions(argc, argv, options);
    if (nStatus == -1) return 0;
    if (nStatus != 0) return nStatus;
    // Loaded before the workers start, so that they inherit the list.
    varnel_host::Abbreviations abbreviations;
    if (!options.sAbbreviations.empty()) {
        std::string sError;
        if (!abbreviations.Load(options.sAbbreviations.c_str(), sError)) {
            fprintf(stderr, "varnel-split: %s\n", sError.c_str());
            return 2;
        }
        options.format.options.pAbbreviations = &abbreviations;
    }

    static char sOutBuffer[1 << 16];
    setvbuf(stdout, sOutBuffer, _IOFBF, sizeof sOutBuffer);
    JobQueue queue(options.nJobs, options.nBlock, options.format);
    if (!queue.Ready()) return 1;
    Progress progress(options.nProgress != 0);
    // This process splits too: with one job, to find cuts between sentences,
    // and where a sentence runs longer than a block.
    VN_Init(nullptr, nullptr);
    nStatus = SplitAll(options, queue, progress);
    VN_Exit();
    bool bToldStopped = queue.Error() == QueueError::kWorkerStopped;
    if (!queue.Stop()) {
        if (!bToldStopped) fputs(kWorkerStoppedMessage, stderr);
        nStatus = 1;
    }
    int nWriteError = queue.WriteError();
    if (fflush(stdout) != 0 && nWriteError == 0) nWriteError = errno;
    if (nWriteError != 0 || ferror(stdout)) {
        fprintf(stderr, "varnel-split: cannot write the output: %s\n",
                strerror(nWriteError ? nWriteError : EIO));
        return 1;
    }
    return nStatus;
}
