#include "Jobs.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Varnel.h"

namespace {

// What goes through a worker's socket: a job's slot and its input size, and
// back its output size (kSplitFailed when the worker ran out of memory).
struct Message {
    size_t nSlot;
    size_t nSize;
};

// A worker's socket never raises SIGPIPE: a worker that died is reported.
bool WriteMessage(int fd, const Message& message) {
    for (;;) {
        ssize_t n = send(fd, &message, sizeof message, MSG_NOSIGNAL);
        if (n == static_cast<ssize_t>(sizeof message)) return true;
        if (n < 0 && errno == EINTR) continue;
        return false;
    }
}

// False at the end of the stream or on an error.
bool ReadMessage(int fd, Message& message) {
    char* p = reinterpret_cast<char*>(&message);
    size_t nGot = 0;
    while (nGot < sizeof message) {
        ssize_t n = read(fd, p + nGot, sizeof message - nGot);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        nGot += static_cast<size_t>(n);
    }
    return true;
}

// The bytes of a sentence s[0..n) that are printed before its terminator: a
// sentence ending in its own CR or LF keeps a single line break, unless
// sentences end in NULs, which keep every byte.
size_t PrintedLength(const char* s, size_t n, bool bNull) {
    if (!bNull && n > 0 && (s[n - 1] == '\n' || s[n - 1] == '\r')) --n;
    return n;
}

// A job's lines, into a buffer large enough for all of them.
class BufferLines {
  public:
    BufferLines(char* p, bool bNull) : m_p(p), m_bNull(bNull) {}
    // The copy finds the sentence's end as it goes.
    void Add(const char* s) { End(static_cast<size_t>(stpcpy(m_p, s) - m_p)); }
    void Add(const char* s, size_t n) {
        memcpy(m_p, s, n);
        End(n);
    }
    char* Position() const { return m_p; }

  private:
    void End(size_t n) {
        m_p += PrintedLength(m_p, n, m_bNull);
        *m_p++ = m_bNull ? '\0' : '\n';
    }
    char* m_p;
    bool m_bNull;
};

// Lines written to a file through its buffer.
class FileLines {
  public:
    FileLines(FILE* fp, bool bNull) : m_fp(fp), m_bNull(bNull) {}
    void Add(const char* s) { Add(s, strlen(s)); }
    void Add(const char* s, size_t n) {
        fwrite(s, 1, PrintedLength(s, n, m_bNull), m_fp);
        putc(m_bNull ? '\0' : '\n', m_fp);
    }

  private:
    FILE* m_fp;
    bool m_bNull;
};

bool HoldsOnlyBlanks(const char* p, size_t n) {
    return varnel_host::SkipLibraryBlanks(p, 0, n) == n;
}

// The library's sentences of one text, printed as they come.
template <class Lines>
bool SplitPlain(const char* sText, size_t nText, int nEncode, Lines& lines) {
    const char* s = VN_GetSentence(sText, nEncode);
    // Nothing at all: blanks only, or the copy could not be made.
    if (!*s) return HoldsOnlyBlanks(sText, nText);
    for (; *s; s = VN_GetSentence(nullptr, 0)) lines.Add(s);
    return true;
}

// Calls visit(span) for each of the library's sentences of p[0..n), in
// order; false when the library could not copy the text. Called once a
// sentence, visit is inlined.
template <class Visit>
bool ForEachLibrarySentence(const char* p, size_t n, int nEncode, Visit&& visit) {
    const char* s = VN_GetSentence(p, nEncode);
    if (!*s) return HoldsOnlyBlanks(p, n);
    size_t nEnd = 0;
    for (; *s; s = VN_GetSentence(nullptr, 0)) {
        varnel_host::Span span = varnel_host::LibrarySentenceSpan(p, nEnd, strlen(s));
        visit(span);
        nEnd = span.nEnd;
    }
    return true;
}

// The sentences of one text as the options rewrite the library's.
template <class Lines>
bool SplitWithOptions(const char* sText, size_t nText, const SplitFormat& format, Lines& lines) {
    // A process splits one text at a time; the spans' memory is kept for
    // the next, so that its pages are touched once and not once a text.
    static std::vector<varnel_host::Span> vSpans;
    vSpans.clear();
    bool bSplit =
        ForEachLibrarySentence(sText, nText, format.nEncode,
                               [](const varnel_host::Span& span) { vSpans.push_back(span); });
    if (!bSplit) return false;
    ApplySentenceOptions(sText, nText, format.nEncode, format.options, vSpans);
    for (const varnel_host::Span& span : vSpans)
        if (span.nEnd > span.nStart) lines.Add(sText + span.nStart, span.nEnd - span.nStart);
    return true;
}

template <class Lines>
bool SplitPieces(const char* pIn, size_t nIn, const SplitFormat& format, Lines& lines) {
    for (size_t nPos = 0; nPos < nIn;) {
        const char* sPiece = pIn + nPos;
        size_t nPiece = strlen(sPiece);
        nPos += nPiece + 1;
        bool bSplit = format.options.Any() ? SplitWithOptions(sPiece, nPiece, format, lines)
                                           : SplitPlain(sPiece, nPiece, format.nEncode, lines);
        if (!bSplit) return false;
    }
    return true;
}

// A worker's life: split the jobs that arrive, until the socket closes.
[[noreturn]] void RunWorker(int fd, const std::vector<char*>& vIn, const std::vector<char*>& vOut,
                            const SplitFormat& format) {
    // The parent clears its progress bar on these; a worker just ends.
    for (int nSignal : {SIGINT, SIGTERM, SIGPIPE, SIGHUP}) signal(nSignal, SIG_DFL);
    VN_Init(nullptr, nullptr);
    Message message;
    int nStatus = 0;
    while (ReadMessage(fd, message)) {
        message.nSize = SplitJob(vIn[message.nSlot], message.nSize, format, vOut[message.nSlot]);
        if (!WriteMessage(fd, message)) {
            nStatus = 1;
            break;
        }
    }
    VN_Exit();
    _exit(nStatus);
}

}  // namespace

bool LibrarySentences(const char* p, size_t n, int nEncode,
                      const varnel_host::SentenceVisitor& visit) {
    return ForEachLibrarySentence(p, n, nEncode, visit);
}

void ReleaseLibraryCopy(int nEncode) { VN_GetSentence(" ", nEncode); }

size_t SplitJob(const char* pIn, size_t nIn, const SplitFormat& format, char* pOut) {
    BufferLines lines(pOut, format.bNull);
    if (!SplitPieces(pIn, nIn, format, lines)) return kSplitFailed;
    return static_cast<size_t>(lines.Position() - pOut);
}

size_t SplitToFile(const char* pIn, size_t nIn, const SplitFormat& format, FILE* fp) {
    FileLines lines(fp, format.bNull);
    if (!SplitPieces(pIn, nIn, format, lines)) return kSplitFailed;
    return ferror(fp) ? 1 : 0;
}

JobQueue::JobQueue(int nWorkers, size_t nBlock, const SplitFormat& format) : m_format(format) {
    // Two slots a worker: one it splits while the next one is filled.
    size_t nSlots = nWorkers > 1 ? 2 * static_cast<size_t>(nWorkers) : 1;
    size_t nSlotBytes = (nBlock + 1) + 2 * nBlock;
    m_nMemory = nSlots * nSlotBytes;
    void* p = mmap(nullptr, m_nMemory, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        fprintf(stderr,
                "varnel-split: cannot allocate %zu MB of buffers for %d job(s) with blocks of "
                "%zu bytes: %s; use fewer jobs or a smaller block size\n",
                m_nMemory / 1000000, nWorkers, nBlock, strerror(errno));
        m_nMemory = 0;
        return;
    }
    m_pMemory = static_cast<char*>(p);
    for (size_t s = 0; s < nSlots; ++s) {
        char* pSlot = m_pMemory + s * nSlotBytes;
        m_vSlots.push_back({pSlot, pSlot + nBlock + 1});
    }
    m_bReady = nWorkers <= 1 || StartWorkers(nWorkers);
}

JobQueue::~JobQueue() {
    Stop();
    if (m_pMemory) munmap(m_pMemory, m_nMemory);
}

bool JobQueue::Stop() {
    // A worker ends when its socket closes.
    for (int fd : m_vWorkerSockets) close(fd);
    m_vWorkerSockets.clear();
    bool bAllWell = true;
    for (pid_t pid : m_vWorkers) {
        int nStatus = 0;
        while (waitpid(pid, &nStatus, 0) < 0 && errno == EINTR) {
        }
        if (!WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0) bAllWell = false;
    }
    m_vWorkers.clear();
    if (!bAllWell) Fail(QueueError::kWorkerStopped);
    return bAllWell;
}

bool JobQueue::StartWorkers(int nWorkers) {
    std::vector<char*> vIn, vOut;
    for (const Slot& slot : m_vSlots) {
        vIn.push_back(slot.pIn);
        vOut.push_back(slot.pOut);
    }
    fflush(nullptr);  // nothing buffered may be written twice
    for (int w = 0; w < nWorkers; ++w) {
        int aSockets[2];
        if (socketpair(AF_UNIX, SOCK_STREAM, 0, aSockets) != 0) {
            fprintf(stderr, "varnel-split: cannot start a worker: %s\n", strerror(errno));
            return false;
        }
        pid_t pid = fork();
        if (pid == 0) {
            // A worker keeps only its own end of its own socket.
            for (int fd : m_vWorkerSockets) close(fd);
            close(aSockets[0]);
            RunWorker(aSockets[1], vIn, vOut, m_format);
        }
        close(aSockets[1]);
        if (pid < 0) {
            fprintf(stderr, "varnel-split: cannot start a worker: %s\n", strerror(errno));
            close(aSockets[0]);
            return false;
        }
        m_vWorkers.push_back(pid);
        m_vWorkerSockets.push_back(aSockets[0]);
    }
    return true;
}

char* JobQueue::NextInput() {
    if (m_error != QueueError::kNone || !m_bReady) return nullptr;
    // The slot comes round again once its last job is written.
    if (m_nSubmitted - m_nWritten == m_vSlots.size() && !CollectOne()) return nullptr;
    return m_vSlots[m_nSubmitted % m_vSlots.size()].pIn;
}

bool JobQueue::Submit(size_t nIn) {
    if (m_error != QueueError::kNone || !m_bReady) return false;
    size_t nSlot = m_nSubmitted % m_vSlots.size();
    Slot& slot = m_vSlots[nSlot];
    slot.pIn[nIn] = '\0';
    size_t nJob = m_nSubmitted++;
    if (m_vWorkers.empty()) return WriteResult(nJob, SplitJob(slot.pIn, nIn, m_format, slot.pOut));
    if (WriteMessage(m_vWorkerSockets[nJob % m_vWorkers.size()], {nSlot, nIn})) return true;
    return WorkerStopped();
}

bool JobQueue::WorkerStopped() {
    Fail(QueueError::kWorkerStopped);
    return false;
}

bool JobQueue::CollectOne() {
    size_t nJob = m_nWritten;
    Message message;
    if (!ReadMessage(m_vWorkerSockets[nJob % m_vWorkers.size()], message)) return WorkerStopped();
    return WriteResult(nJob, message.nSize);
}

bool JobQueue::WriteResult(size_t nJob, size_t nOut) {
    const Slot& slot = m_vSlots[nJob % m_vSlots.size()];
    ++m_nWritten;
    if (nOut == kSplitFailed) {
        Fail(QueueError::kNoMemory);
        return false;
    }
    return Write(slot.pOut, nOut);
}

bool JobQueue::Write(const char* p, size_t n) {
    return fwrite(p, 1, n, stdout) == n || WriteFailed();
}

bool JobQueue::WriteFailed() {
    if (m_nWriteError == 0) m_nWriteError = errno;
    Fail(QueueError::kWriteFailed);
    return false;
}

bool JobQueue::Flush() { return Finish() && (fflush(stdout) == 0 || WriteFailed()); }

void JobQueue::Fail(QueueError error) {
    if (m_error == QueueError::kNone) m_error = error;
}

bool JobQueue::Finish() {
    while (m_error == QueueError::kNone && m_nWritten < m_nSubmitted)
        if (!CollectOne()) break;
    return m_error == QueueError::kNone;
}
