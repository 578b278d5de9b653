// varnel-split's progress bar on standard error.
#ifndef VARNEL_SPLIT_PROGRESS_H
#define VARNEL_SPLIT_PROGRESS_H

#include <chrono>
#include <cstddef>
#include <string>

// Draws the bytes read, the share of the input and the time left when its size
// is known, and the rate over the last few seconds in MB/s (1 MB = 1,000,000
// bytes), at most ten times a second. While a bar is drawn, Ctrl-C and the
// other signals that end the program clear its line first. One bar a process.
class Progress {
  public:
    explicit Progress(bool bOn);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // A new input of nTotal bytes, 0 when its size is not known.
    void Start(const std::string& sName, size_t nTotal);
    void Add(size_t nBytes);
    // Draws the final state and ends the line.
    void Finish();
    // Clears the line, so that a message can be printed on it; the bar comes
    // back at the next drawing.
    void Clear();

  private:
    using Clock = std::chrono::steady_clock;
    struct Sample {
        Clock::time_point time;
        size_t nDone;
    };
    static const size_t kSamples = 32;

    void Draw(bool bFinal);
    double RecentRate(Clock::time_point now) const;

    bool m_bOn;
    std::string m_sName;
    size_t m_nTotal = 0, m_nDone = 0;
    Clock::time_point m_start, m_lastDraw;
    Sample m_aSamples[kSamples];  // a ring of what was done when, one a drawing
    size_t m_nSamples = 0;
};

#endif
