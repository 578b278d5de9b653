#include "Input.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// Whether a read of fd would return at once: with data, at the end or with
// an error. When poll itself fails, the read will tell.
bool InputReady(int fd) {
    struct pollfd ready = {fd, POLLIN, 0};
    int n;
    do n = poll(&ready, 1, 0);
    while (n < 0 && errno == EINTR);
    return n != 0;
}

// One read; -1 on an error (errno tells which), 0 at the end.
ssize_t ReadSome(int fd, char* p, size_t n) {
    ssize_t nRead;
    do nRead = read(fd, p, n);
    while (nRead < 0 && errno == EINTR);
    return nRead;
}

std::string Shown(const std::string& sName) {
    return sName == "-" ? "standard input" : "'" + sName + "'";
}

}  // namespace

FileSplitter::FileSplitter(const Options& options, JobQueue& queue, Progress& progress)
    : m_options(options),
      m_queue(queue),
      m_progress(progress),
      m_cutter(options.format.nEncode, options.format.options, options.nBlock, LibrarySentences) {}

FileSplitter::~FileSplitter() { ReleaseLong(); }

Outcome FileSplitter::Split(const std::string& sName) {
    bool bStdin = sName == "-";
    int fd = bStdin ? STDIN_FILENO : open(sName.c_str(), O_RDONLY);
    if (fd < 0) {
        m_progress.Clear();
        fprintf(stderr, "varnel-split: cannot open '%s': %s\n", sName.c_str(), strerror(errno));
        return Outcome::kUnreadable;
    }
    struct stat info;
    bool bSized = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    m_progress.Start(sName, bSized ? static_cast<size_t>(info.st_size) : 0);
    Outcome outcome = SplitFrom(fd, sName);
    if (outcome == Outcome::kSplit && !m_queue.Finish()) outcome = QueueFailed(sName);
    if (outcome == Outcome::kSplit)
        m_progress.Finish();
    else
        m_progress.Clear();
    if (!bStdin) close(fd);
    return outcome;
}

Outcome FileSplitter::SplitFrom(int fd, const std::string& sName) {
    m_sCarry.clear();
    m_cutter.Reset();
    bool bEnd = false;
    while (!bEnd) {
        char* pIn = m_queue.NextInput();
        if (!pIn) return QueueFailed(sName);
        size_t n = m_sCarry.size();
        memcpy(pIn, m_sCarry.data(), n);
        Outcome outcome = FillBlock(fd, sName, pIn, n, bEnd);
        if (outcome != Outcome::kSplit) return outcome;
    }
    return Outcome::kSplit;
}

// Reads into the block at pIn, which holds n bytes, until a part of it is
// submitted or the input ends. A cut is looked for when the block is full,
// at the end, and whenever the input would block; before waiting for input,
// everything submitted is printed.
Outcome FileSplitter::FillBlock(int fd, const std::string& sName, char* pIn, size_t n, bool& bEnd) {
    const size_t nBlock = m_options.nBlock;
    for (;;) {
        bool bWait = !bEnd && n < nBlock && !InputReady(fd);
        if (bEnd || bWait || n == nBlock) {
            pIn[n] = '\0';
            size_t nCut = m_cutter.Cut(pIn, n, bEnd);
            if (nCut == varnel_host::BlockCutter::kFailed) return NoMemory(sName);
            if (nCut > 0) return SubmitBlock(sName, pIn, nCut, n);
            if (bEnd) return Outcome::kSplit;
            if (n == nBlock) return SplitLongStretch(fd, sName, pIn, n, bEnd);
            if (!m_queue.Flush()) return QueueFailed(sName);
        }
        ssize_t nRead = ReadSome(fd, pIn + n, nBlock - n);
        if (nRead < 0) return ReadError(sName, errno);
        bEnd = nRead == 0;
        n += static_cast<size_t>(nRead);
        m_progress.Add(static_cast<size_t>(nRead));
    }
}

Outcome FileSplitter::SubmitBlock(const std::string& sName, const char* pIn, size_t nCut,
                                  size_t n) {
    m_sCarry.assign(pIn + nCut, n - nCut);
    return m_queue.Submit(nCut) ? Outcome::kSplit : QueueFailed(sName);
}

// A whole block without a safe cut: the stretch moves to a buffer of its own
// that grows as the cutter wants, and once every earlier job is printed, this
// process splits it, as far as each safe cut, straight to the output. It goes
// back to blocks when what is left fits in one.
Outcome FileSplitter::SplitLongStretch(int fd, const std::string& sName, const char* pBlock,
                                       size_t n, bool& bEnd) {
    if (!m_queue.Finish()) return QueueFailed(sName);
    if (!GrowLong(m_cutter.Wanted())) return NoMemory(sName);
    memcpy(m_pLong, pBlock, n);
    for (;;) {
        if (n == m_nLongSize && !GrowLong(m_cutter.Wanted())) return NoMemory(sName);
        if (!InputReady(fd) && !m_queue.Flush()) return QueueFailed(sName);
        ssize_t nRead = ReadSome(fd, m_pLong + n, m_nLongSize - n);
        if (nRead < 0) return ReadError(sName, errno);
        bEnd = nRead == 0;
        n += static_cast<size_t>(nRead);
        m_progress.Add(static_cast<size_t>(nRead));
        m_pLong[n] = '\0';
        if (n >= m_cutter.Wanted()) ReleaseLibraryCopy(m_options.format.nEncode);
        size_t nCut = m_cutter.Cut(m_pLong, n, bEnd);
        if (nCut == varnel_host::BlockCutter::kFailed) return NoMemory(sName);
        if (nCut == 0) continue;
        Outcome outcome = SplitHere(sName, nCut);
        if (outcome != Outcome::kSplit) return outcome;
        n -= nCut;
        memmove(m_pLong, m_pLong + nCut, n);
        if (n < m_options.nBlock) {
            m_sCarry.assign(m_pLong, n);
            ReleaseLong();
            return Outcome::kSplit;
        }
    }
}

// Splits m_pLong[0..nCut) here, without the library's copy of the stretch
// the cutter asked about, and lets the split's own copy go after.
Outcome FileSplitter::SplitHere(const std::string& sName, size_t nCut) {
    char cAfter = m_pLong[nCut];
    m_pLong[nCut] = '\0';
    ReleaseLibraryCopy(m_options.format.nEncode);
    size_t nResult = SplitToFile(m_pLong, nCut, m_options.format, stdout);
    ReleaseLibraryCopy(m_options.format.nEncode);
    m_pLong[nCut] = cAfter;
    if (nResult == kSplitFailed) return NoMemory(sName);
    if (nResult != 0) {
        m_queue.Fail(QueueError::kWriteFailed);
        return Outcome::kFailed;
    }
    return Outcome::kSplit;
}

bool FileSplitter::GrowLong(size_t nWanted) {
    if (nWanted <= m_nLongSize) nWanted = 2 * m_nLongSize;
    char* p = static_cast<char*>(realloc(m_pLong, nWanted + 1));
    if (!p) return false;
    m_pLong = p;
    m_nLongSize = nWanted;
    return true;
}

void FileSplitter::ReleaseLong() {
    free(m_pLong);
    m_pLong = nullptr;
    m_nLongSize = 0;
}

Outcome FileSplitter::ReadError(const std::string& sName, int nError) {
    m_progress.Clear();
    fprintf(stderr, "varnel-split: cannot read '%s': %s\n", sName.c_str(), strerror(nError));
    return Outcome::kUnreadable;
}

Outcome FileSplitter::NoMemory(const std::string& sName) {
    m_progress.Clear();
    fprintf(stderr, "varnel-split: not enough memory to split %s\n", Shown(sName).c_str());
    m_queue.Fail(QueueError::kNoMemory);
    return Outcome::kFailed;
}

Outcome FileSplitter::QueueFailed(const std::string& sName) {
    switch (m_queue.Error()) {
        case QueueError::kNoMemory:
            return NoMemory(sName);
        case QueueError::kWorkerStopped:
            m_progress.Clear();
            fputs(kWorkerStoppedMessage, stderr);
            break;
        default:
            break;  // a failed write is told once, at the end
    }
    return Outcome::kFailed;
}
