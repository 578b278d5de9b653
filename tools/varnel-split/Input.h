// varnel-split's inputs: each read as it arrives and cut into jobs at safe
// cuts.
#ifndef VARNEL_SPLIT_INPUT_H
#define VARNEL_SPLIT_INPUT_H

#include <cstddef>
#include <string>

#include "BlockCuts.h"
#include "Jobs.h"
#include "Options.h"
#include "Progress.h"

enum class Outcome {
    kSplit,       // the whole input was split
    kUnreadable,  // it could not be opened or read; the next input may be split
    kFailed,      // the run cannot go on: the output failed, memory ran out, a worker stopped
};

// Splits one input after another through the job queue. Blocks are read
// with one read() at a time; whatever has arrived is cut and submitted when
// the input would block, and the output is flushed before waiting for more.
class FileSplitter {
  public:
    FileSplitter(const Options& options, JobQueue& queue, Progress& progress);
    ~FileSplitter();
    FileSplitter(const FileSplitter&) = delete;
    FileSplitter& operator=(const FileSplitter&) = delete;

    Outcome Split(const std::string& sName);

  private:
    Outcome SplitFrom(int fd, const std::string& sName);
    Outcome FillBlock(int fd, const std::string& sName, char* pIn, size_t n, bool& bEnd);
    Outcome SubmitBlock(const std::string& sName, const char* pIn, size_t nCut, size_t n);
    Outcome SplitLongStretch(int fd, const std::string& sName, const char* pBlock, size_t n,
                             bool& bEnd);
    Outcome SplitHere(const std::string& sName, size_t nCut);
    bool GrowLong(size_t nWanted);
    void ReleaseLong();
    Outcome ReadError(const std::string& sName, int nError);
    Outcome NoMemory(const std::string& sName);
    Outcome QueueFailed(const std::string& sName);

    const Options& m_options;
    JobQueue& m_queue;
    Progress& m_progress;
    varnel_host::BlockCutter m_cutter;
    std::string m_sCarry;     // read but not yet split: the rest after the last safe cut
    char* m_pLong = nullptr;  // a stretch longer than a block, with room for a NUL
    size_t m_nLongSize = 0;   // bytes m_pLong holds, the NUL's byte not counted
};

#endif
