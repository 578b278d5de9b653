// varnel-split's progress bar on standard error.
#ifndef VARNEL_SPLIT_PROGRESS_H
#define VARNEL_SPLIT_PROGRESS_H

#include <chrono>
#include <cstddef>
#include <string>

// Draws the bytes done, the share of the input when its size is known, and
// the rate in MB/s (1 MB = 1,000,000 bytes), at most ten times a second.
class Progress {
  public:
    explicit Progress(bool bOn) : m_bOn(bOn) {}

    // A new input of nTotal bytes, 0 when its size is not known.
    void Start(const std::string& sName, size_t nTotal);
    void Add(size_t nBytes);
    // Draws the final state and ends the line.
    void Finish();

  private:
    void Draw();

    using Clock = std::chrono::steady_clock;
    bool m_bOn;
    std::string m_sName;
    size_t m_nTotal = 0, m_nDone = 0;
    Clock::time_point m_start, m_lastDraw;
};

#endif
