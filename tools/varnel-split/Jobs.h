// varnel-split's jobs: parts of the input split into lines of output, in this
// process or in worker processes, written out in input order.
#ifndef VARNEL_SPLIT_JOBS_H
#define VARNEL_SPLIT_JOBS_H

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <vector>

// Splits the job of nIn bytes at pIn (pIn[nIn] must be NUL): each NUL-separated
// piece is a text of its own. Writes one sentence per line to pOut, which must
// hold 2 * nIn bytes, dropping one CR or LF that ends a sentence. Returns the
// bytes written. Calls VN_GetSentence, so VN_Init must have been called.
size_t SplitJob(const char* pIn, size_t nIn, int nEncode, char* pOut);

// Runs jobs one after another, each on an input buffer that the caller fills.
// With more than one worker, each worker is a process of its own: the library
// has one splitter per process. Results are written to standard output in the
// order the jobs were submitted, and each written job is reported to onDone
// with its input size.
class JobQueue {
  public:
    JobQueue(int nWorkers, size_t nBlock, int nEncode, std::function<void(size_t)> onDone);
    ~JobQueue();
    JobQueue(const JobQueue&) = delete;
    JobQueue& operator=(const JobQueue&) = delete;

    // False when the workers could not be started; the reason is on standard error.
    bool Ready() const { return m_bReady; }

    // The buffer for the next job: nBlock bytes and one more for the NUL. Waits
    // for the job that used it before to be written. Null after a failure.
    char* NextInput();

    // Starts the next job on the first nIn bytes of NextInput().
    bool Submit(size_t nIn);

    // Waits for every job and writes out what is left. False when a worker
    // failed or the output could not be written.
    bool Finish();

    // Writes bytes to standard output; false, with the reason kept, on failure.
    bool Write(const char* p, size_t n);

    // The error of the write that failed, or 0.
    int WriteError() const { return m_nWriteError; }

  private:
    struct Slot {
        char* pIn;
        char* pOut;
        size_t nIn;
    };

    bool StartWorkers(int nWorkers);
    bool WriteResult(size_t nJob, size_t nOut);
    bool CollectOne();

    int m_nEncode;
    std::function<void(size_t)> m_onDone;
    bool m_bReady = false;
    bool m_bFailed = false;
    int m_nWriteError = 0;
    char* m_pMemory = nullptr;  // every slot's buffers, shared with the workers
    size_t m_nMemory = 0;
    std::vector<Slot> m_vSlots;
    std::vector<pid_t> m_vWorkers;
    std::vector<int> m_vToWorker, m_vFromWorker;
    size_t m_nSubmitted = 0, m_nWritten = 0;
};

#endif
