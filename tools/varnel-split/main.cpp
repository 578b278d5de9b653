// varnel-split: prints the sentences of text files, one per line.
#include <cerrno>
#include <cstdio>
#include <cstring>

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
    // TODO(reader): load options.sAbbreviations into
    // options.format.options.pAbbreviations once the reader mode's list has
    // its loader; until then the file is only checked for being readable.
    if (!options.sAbbreviations.empty()) {
        FILE* fp = fopen(options.sAbbreviations.c_str(), "r");
        if (!fp) {
            fprintf(stderr, "varnel-split: cannot read '%s': %s\n", options.sAbbreviations.c_str(),
                    strerror(errno));
            return 2;
        }
        fclose(fp);
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
