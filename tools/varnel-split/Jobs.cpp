#include "Jobs.h"

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "Varnel.h"

namespace {

// What goes through a worker's pipes: a job's slot and its input size, and
// back its output size.
struct Message {
    size_t nSlot;
    size_t nSize;
};

bool WriteMessage(int fd, const Message& message) {
    for (;;) {
        ssize_t n = write(fd, &message, sizeof message);
        if (n == static_cast<ssize_t>(sizeof message)) return true;
        if (n < 0 && errno == EINTR) continue;
        return false;
    }
}

// False at the end of the pipe or on an error.
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

// A sentence ending in its own CR or LF keeps a single line break. The copy
// finds the sentence's end as it goes.
char* AppendLine(char* pOut, const char* sSentence) {
    char* pEnd = stpcpy(pOut, sSentence);
    if (pEnd > pOut && (pEnd[-1] == '\n' || pEnd[-1] == '\r')) --pEnd;
    *pEnd = '\n';
    return pEnd + 1;
}

// A worker's life: split the jobs that arrive, until the pipe closes.
[[noreturn]] void RunWorker(int fdJobs, int fdResults, const std::vector<char*>& vIn,
                            const std::vector<char*>& vOut, int nEncode) {
    VN_Init(nullptr, nullptr);
    Message message;
    int nStatus = 0;
    while (ReadMessage(fdJobs, message)) {
        message.nSize = SplitJob(vIn[message.nSlot], message.nSize, nEncode, vOut[message.nSlot]);
        if (!WriteMessage(fdResults, message)) {
            nStatus = 1;
            break;
        }
    }
    VN_Exit();
    _exit(nStatus);
}

}  // namespace

size_t SplitJob(const char* pIn, size_t nIn, int nEncode, char* pOut) {
    char* pEnd = pOut;
    size_t nPos = 0;
    while (nPos < nIn) {
        const char* sPiece = pIn + nPos;
        nPos += strlen(sPiece) + 1;
        for (const char* s = VN_GetSentence(sPiece, nEncode); *s; s = VN_GetSentence(nullptr, 0))
            pEnd = AppendLine(pEnd, s);
    }
    return static_cast<size_t>(pEnd - pOut);
}

JobQueue::JobQueue(int nWorkers, size_t nBlock, int nEncode, std::function<void(size_t)> onDone)
    : m_nEncode(nEncode), m_onDone(std::move(onDone)) {
    // Two slots a worker: one it splits while the next one is filled.
    size_t nSlots = nWorkers > 1 ? 2 * static_cast<size_t>(nWorkers) : 1;
    size_t nSlotBytes = (nBlock + 1) + 2 * nBlock;
    m_nMemory = nSlots * nSlotBytes;
    void* p = mmap(nullptr, m_nMemory, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        fprintf(stderr, "varnel-split: cannot allocate %zu bytes: %s\n", m_nMemory,
                strerror(errno));
        m_nMemory = 0;
        return;
    }
    m_pMemory = static_cast<char*>(p);
    for (size_t s = 0; s < nSlots; ++s) {
        char* pSlot = m_pMemory + s * nSlotBytes;
        m_vSlots.push_back({pSlot, pSlot + nBlock + 1, 0});
    }
    m_bReady = nWorkers <= 1 || StartWorkers(nWorkers);
}

JobQueue::~JobQueue() {
    for (int fd : m_vToWorker) close(fd);
    for (int fd : m_vFromWorker) close(fd);
    for (pid_t pid : m_vWorkers) waitpid(pid, nullptr, 0);
    if (m_pMemory) munmap(m_pMemory, m_nMemory);
}

bool JobQueue::StartWorkers(int nWorkers) {
    std::vector<char*> vIn, vOut;
    for (const Slot& slot : m_vSlots) {
        vIn.push_back(slot.pIn);
        vOut.push_back(slot.pOut);
    }
    fflush(nullptr);  // nothing buffered may be written twice
    for (int w = 0; w < nWorkers; ++w) {
        int aJobs[2], aResults[2];
        if (pipe(aJobs) != 0) return false;
        if (pipe(aResults) != 0) {
            close(aJobs[0]);
            close(aJobs[1]);
            return false;
        }
        pid_t pid = fork();
        if (pid == 0) {
            // A worker keeps only its own ends of its own pipes.
            for (int fd : m_vToWorker) close(fd);
            for (int fd : m_vFromWorker) close(fd);
            close(aJobs[1]);
            close(aResults[0]);
            RunWorker(aJobs[0], aResults[1], vIn, vOut, m_nEncode);
        }
        close(aJobs[0]);
        close(aResults[1]);
        if (pid < 0) {
            fprintf(stderr, "varnel-split: cannot start a worker: %s\n", strerror(errno));
            close(aJobs[1]);
            close(aResults[0]);
            return false;
        }
        m_vWorkers.push_back(pid);
        m_vToWorker.push_back(aJobs[1]);
        m_vFromWorker.push_back(aResults[0]);
    }
    return true;
}

char* JobQueue::NextInput() {
    if (m_bFailed || !m_bReady) return nullptr;
    // The slot comes round again once its last job is written.
    if (m_nSubmitted - m_nWritten == m_vSlots.size() && !CollectOne()) return nullptr;
    return m_vSlots[m_nSubmitted % m_vSlots.size()].pIn;
}

bool JobQueue::Submit(size_t nIn) {
    if (m_bFailed || !m_bReady) return false;
    size_t nSlot = m_nSubmitted % m_vSlots.size();
    Slot& slot = m_vSlots[nSlot];
    slot.pIn[nIn] = '\0';
    slot.nIn = nIn;
    size_t nJob = m_nSubmitted++;
    if (m_vWorkers.empty()) return WriteResult(nJob, SplitJob(slot.pIn, nIn, m_nEncode, slot.pOut));
    if (WriteMessage(m_vToWorker[nJob % m_vWorkers.size()], {nSlot, nIn})) return true;
    fprintf(stderr, "varnel-split: a worker stopped unexpectedly\n");
    m_bFailed = true;
    return false;
}

bool JobQueue::CollectOne() {
    size_t nJob = m_nWritten;
    Message message;
    if (!ReadMessage(m_vFromWorker[nJob % m_vWorkers.size()], message)) {
        fprintf(stderr, "varnel-split: a worker stopped unexpectedly\n");
        m_bFailed = true;
        return false;
    }
    return WriteResult(nJob, message.nSize);
}

bool JobQueue::WriteResult(size_t nJob, size_t nOut) {
    const Slot& slot = m_vSlots[nJob % m_vSlots.size()];
    ++m_nWritten;
    if (!Write(slot.pOut, nOut)) return false;
    if (m_onDone) m_onDone(slot.nIn);
    return true;
}

bool JobQueue::Write(const char* p, size_t n) {
    if (fwrite(p, 1, n, stdout) == n) return true;
    m_nWriteError = errno;
    m_bFailed = true;
    return false;
}

bool JobQueue::Finish() {
    while (!m_bFailed && m_nWritten < m_nSubmitted)
        if (!CollectOne()) break;
    return !m_bFailed;
}
