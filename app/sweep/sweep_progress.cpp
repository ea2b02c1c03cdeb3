#include "sweep/sweep_progress.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <string>

namespace app {

namespace {

bool StderrIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

}  // namespace

SweepProgress::SweepProgress(std::size_t total, bool enabled)
    : total_(total), enabled_(enabled), tty_(StderrIsTerminal()) {}

void SweepProgress::Show(std::size_t done, bool last) {
    if (!enabled_) return;
    const auto now = Clock::now();
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    const double interval = tty_ ? 0.1 : 5.0;
    if (!last && std::chrono::duration<double>(now - shown_).count() < interval) return;
    shown_ = now;
    const double rate = elapsed > 0 ? static_cast<double>(done) / elapsed : 0.0;
    const double left = rate > 0 ? static_cast<double>(total_ - done) / rate : 0.0;
    char line[160];
    if (tty_) {
        constexpr int kWidth = 30;
        const int filled = total_ > 0 ? static_cast<int>(kWidth * done / total_) : kWidth;
        std::snprintf(line, sizeof line, "\r[%-*s] %zu/%zu runs, %.1f runs/s, %.0f s left ", kWidth,
                      std::string(static_cast<std::size_t>(filled), '#').c_str(), done, total_, rate, left);
        std::fputs(line, stderr);
        if (last) std::fputc('\n', stderr);
    } else {
        std::snprintf(line, sizeof line, "sweep: %zu/%zu runs, %.1f runs/s, %.0f s left\n", done, total_,
                      rate, left);
        std::fputs(line, stderr);
    }
    std::fflush(stderr);
}

}  // namespace app
