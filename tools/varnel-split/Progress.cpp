#include "Progress.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>

namespace {

const size_t kBarWidth = 20;
const size_t kNameWidth = 16;
const double kMB = 1e6;
const auto kDrawEvery = std::chrono::milliseconds(100);
const double kRateSeconds = 3;  // the rate shown is over this many seconds

// Erases the line the cursor is on: back to its start, then clear to its end.
const char kClearLine[] = "\r\033[K";

// Whether a bar is on the terminal's line now, for the signal handler.
volatile sig_atomic_t g_bBarShown = 0;

const int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Clears the bar, then ends the program as the signal would have.
void ClearAndEnd(int nSignal) {
    if (g_bBarShown) {
        ssize_t nIgnored = write(STDERR_FILENO, kClearLine, sizeof kClearLine - 1);
        (void)nIgnored;
    }
    signal(nSignal, SIG_DFL);
    raise(nSignal);
}

// "1:02:03" or "2:03".
std::string Duration(double fSeconds) {
    long n = fSeconds < 0 ? 0 : static_cast<long>(fSeconds + 0.5);
    char s[32];
    if (n >= 3600)
        snprintf(s, sizeof s, "%ld:%02ld:%02ld", n / 3600, n / 60 % 60, n % 60);
    else
        snprintf(s, sizeof s, "%ld:%02ld", n / 60, n % 60);
    return s;
}

}  // namespace

Progress::Progress(bool bOn) : m_bOn(bOn) {
    if (!m_bOn) return;
    for (int nSignal : kEndingSignals) {
        struct sigaction action = {};
        action.sa_handler = ClearAndEnd;
        sigemptyset(&action.sa_mask);
        sigaction(nSignal, &action, nullptr);
    }
}

Progress::~Progress() {
    if (!m_bOn) return;
    Clear();
    for (int nSignal : kEndingSignals) signal(nSignal, SIG_DFL);
}

void Progress::Start(const std::string& sName, size_t nTotal) {
    if (!m_bOn) return;
    m_sName = sName == "-" ? "(standard input)" : sName;
    if (m_sName.size() > kNameWidth)
        m_sName = "..." + m_sName.substr(m_sName.size() - kNameWidth + 3);
    m_nTotal = nTotal;
    m_nDone = 0;
    m_nSamples = 0;
    m_start = m_lastDraw = Clock::now();
    Draw(false);
}

void Progress::Add(size_t nBytes) {
    if (!m_bOn) return;
    m_nDone += nBytes;
    if (Clock::now() - m_lastDraw >= kDrawEvery) Draw(false);
}

void Progress::Finish() {
    if (!m_bOn) return;
    Draw(true);
    fputc('\n', stderr);
    g_bBarShown = 0;
}

void Progress::Clear() {
    if (!m_bOn || !g_bBarShown) return;
    fputs(kClearLine, stderr);
    fflush(stderr);
    g_bBarShown = 0;
}

// The rate between now and the oldest sample of the last few seconds.
double Progress::RecentRate(Clock::time_point now) const {
    const Sample* pOldest = nullptr;
    size_t nKept = m_nSamples < kSamples ? m_nSamples : kSamples;
    for (size_t k = 0; k < nKept; ++k) {
        const Sample& sample = m_aSamples[(m_nSamples - 1 - k) % kSamples];
        if (std::chrono::duration<double>(now - sample.time).count() > kRateSeconds) break;
        pOldest = &sample;
    }
    if (!pOldest) return 0;
    double fSeconds = std::chrono::duration<double>(now - pOldest->time).count();
    return fSeconds > 0 ? (m_nDone - pOldest->nDone) / kMB / fSeconds : 0;
}

// The final state shows the average rate and the time taken, the others the
// recent rate and, with a known size, the time left.
void Progress::Draw(bool bFinal) {
    Clock::time_point now = Clock::now();
    double fElapsed = std::chrono::duration<double>(now - m_start).count();
    double fRate = bFinal ? (fElapsed > 0 ? m_nDone / kMB / fElapsed : 0) : RecentRate(now);
    m_aSamples[m_nSamples++ % kSamples] = {now, m_nDone};
    m_lastDraw = now;
    g_bBarShown = 1;  // before the first byte, so that a signal clears a half-drawn bar
    fprintf(stderr, "\r%-*s ", static_cast<int>(kNameWidth), m_sName.c_str());
    if (m_nTotal > 0) {
        size_t nDone = m_nDone < m_nTotal ? m_nDone : m_nTotal;
        size_t nFilled = nDone * kBarWidth / m_nTotal;
        std::string sBar = std::string(nFilled, '#') + std::string(kBarWidth - nFilled, '-');
        fprintf(stderr, "[%s] %3zu%% ", sBar.c_str(), nDone * 100 / m_nTotal);
    }
    fprintf(stderr, "%8.1f MB %7.1f MB/s", m_nDone / kMB, fRate);
    if (bFinal)
        fprintf(stderr, " in %s", Duration(fElapsed).c_str());
    else if (m_nTotal > 0 && fRate > 0 && m_nDone < m_nTotal)
        fprintf(stderr, " %s left", Duration((m_nTotal - m_nDone) / kMB / fRate).c_str());
    fputs("\033[K", stderr);  // what a longer line drawn before left behind
    fflush(stderr);
}
