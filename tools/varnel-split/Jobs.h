// varnel-split's jobs: parts of the input split into lines of output, in this
// process or in worker processes, written out in input order.
#ifndef VARNEL_SPLIT_JOBS_H
#define VARNEL_SPLIT_JOBS_H

#include <sys/types.h>

#include <cstddef>
#include <cstdio>
#include <vector>

#include "BlockCuts.h"
#include "SentenceOptions.h"

// How sentences are found and printed.
struct SplitFormat {
    int nEncode = 1;
    varnel_host::SentenceOptions options;
    bool bNull = false;  // end each sentence with a NUL and keep its line breaks
};

// A varnel_host::SentenceSource on VN_GetSentence (VN_Init must have been
// called): false when the library could not copy the text.
bool LibrarySentences(const char* p, size_t n, int nEncode,
                      const varnel_host::SentenceVisitor& visit);

// Lets the library free its copy of the last text it was given (it keeps the
// copy's buffer for the next text that fits): before a long text, so that
// two long copies are never held at once.
void ReleaseLibraryCopy(int nEncode);

// Returned by the splitters when the library could not copy a text.
constexpr size_t kSplitFailed = static_cast<size_t>(-1);

// Splits the job of nIn bytes at pIn (pIn[nIn] must be NUL): each NUL-separated
// piece is a text of its own. Writes one sentence a line to pOut, which must
// hold 2 * nIn bytes: without bNull a sentence's own final CR or LF is dropped
// and a LF ends it; with bNull a NUL ends it. Returns the bytes written, or
// kSplitFailed. Calls VN_GetSentence, so VN_Init must have been called.
size_t SplitJob(const char* pIn, size_t nIn, const SplitFormat& format, char* pOut);

// The same, written to fp as it goes instead of to a buffer: for parts longer
// than a block. Returns 0, kSplitFailed, or 1 when fp reported an error.
size_t SplitToFile(const char* pIn, size_t nIn, const SplitFormat& format, FILE* fp);

// What is told when a worker died.
inline constexpr char kWorkerStoppedMessage[] = "varnel-split: a worker stopped unexpectedly\n";

// Why a JobQueue stopped.
enum class QueueError { kNone, kWorkerStopped, kNoMemory, kWriteFailed };

// Runs jobs one after another, each on an input buffer that the caller fills.
// With more than one worker, each worker is a process of its own: the library
// has one splitter per process. Results are written to standard output in the
// order the jobs were submitted.
class JobQueue {
  public:
    JobQueue(int nWorkers, size_t nBlock, const SplitFormat& format);
    ~JobQueue();
    JobQueue(const JobQueue&) = delete;
    JobQueue& operator=(const JobQueue&) = delete;

    // False when the buffers could not be allocated or the workers could not
    // be started; the reason is on standard error. Later failures are left
    // to the caller to tell (see Error).
    bool Ready() const { return m_bReady; }

    // The buffer for the next job: nBlock bytes and one more for the NUL. Waits
    // for the job that used it before to be written. Null after a failure.
    char* NextInput();

    // Starts the next job on the first nIn bytes of NextInput().
    bool Submit(size_t nIn);

    // Waits for every job and writes out what is left. False after a failure.
    bool Finish();

    // Finish, then flushes standard output. False after a failure.
    bool Flush();

    // Writes bytes to standard output; false, with the reason kept, on failure.
    bool Write(const char* p, size_t n);

    // Ends the workers and waits for them. False when one of them ended
    // otherwise than asked (killed, or failed), even with no job left to it.
    bool Stop();

    // Records a failure of this process's own splitting.
    void Fail(QueueError error);

    QueueError Error() const { return m_error; }

    // The error of the write that failed, or 0.
    int WriteError() const { return m_nWriteError; }

  private:
    struct Slot {
        char* pIn;
        char* pOut;
    };

    bool StartWorkers(int nWorkers);
    bool WriteResult(size_t nJob, size_t nOut);
    bool CollectOne();
    bool WorkerStopped();
    bool WriteFailed();

    SplitFormat m_format;
    bool m_bReady = false;
    QueueError m_error = QueueError::kNone;
    int m_nWriteError = 0;
    char* m_pMemory = nullptr;  // every slot's buffers, shared with the workers
    size_t m_nMemory = 0;
    std::vector<Slot> m_vSlots;
    std::vector<pid_t> m_vWorkers;
    std::vector<int> m_vWorkerSockets;
    size_t m_nSubmitted = 0, m_nWritten = 0;
};

#endif
