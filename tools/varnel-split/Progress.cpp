#include "Progress.h"

#include <cstdio>

namespace {

const size_t kBarWidth = 30;
const size_t kNameWidth = 24;
const double kMB = 1e6;

}  // namespace

void Progress::Start(const std::string& sName, size_t nTotal) {
    if (!m_bOn) return;
    m_sName = sName == "-" ? "(standard input)" : sName;
    if (m_sName.size() > kNameWidth)
        m_sName = "..." + m_sName.substr(m_sName.size() - kNameWidth + 3);
    m_nTotal = nTotal;
    m_nDone = 0;
    m_start = m_lastDraw = Clock::now();
    Draw();
}

void Progress::Add(size_t nBytes) {
    if (!m_bOn) return;
    m_nDone += nBytes;
    Clock::time_point now = Clock::now();
    if (now - m_lastDraw < std::chrono::milliseconds(100)) return;
    m_lastDraw = now;
    Draw();
}

void Progress::Finish() {
    if (!m_bOn) return;
    Draw();
    fputc('\n', stderr);
}

void Progress::Draw() {
    double fSeconds = std::chrono::duration<double>(Clock::now() - m_start).count();
    double fRate = fSeconds > 0 ? m_nDone / kMB / fSeconds : 0;
    fprintf(stderr, "\r%-*s ", static_cast<int>(kNameWidth), m_sName.c_str());
    if (m_nTotal > 0) {
        size_t nDone = m_nDone < m_nTotal ? m_nDone : m_nTotal;
        size_t nFilled = nDone * kBarWidth / m_nTotal;
        std::string sBar = std::string(nFilled, '#') + std::string(kBarWidth - nFilled, '-');
        fprintf(stderr, "[%s] %3zu%% %9.1f / %.1f MB", sBar.c_str(), nDone * 100 / m_nTotal,
                nDone / kMB, m_nTotal / kMB);
    } else {
        fprintf(stderr, "%9.1f MB", m_nDone / kMB);
    }
    fprintf(stderr, " %8.1f MB/s ", fRate);
    fflush(stderr);
}
