#pragma once

#include <chrono>
#include <cstddef>

namespace app {

/// A sweep's progress on standard error: runs done, runs per second and time left, as a bar on a
/// terminal and as a line every few seconds otherwise.
class SweepProgress {
public:
    SweepProgress(std::size_t total, bool enabled);
    void Show(std::size_t done, bool last = false);

private:
    using Clock = std::chrono::steady_clock;
    std::size_t total_;
    bool enabled_;
    bool tty_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point shown_ = Clock::now();
};

}  // namespace app
