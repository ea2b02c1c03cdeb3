#include "base/log.h"

#include <cstdarg>
#include <cstdio>

#include "base/settings.h"

namespace {
// Opened on the first line and kept open for the life of the process.
std::FILE* logFile = nullptr;
}  // namespace

void TruncateLog() {
    if (logPath[0] == '\0') return;
    if (std::FILE* f = std::fopen(logPath, "w")) std::fclose(f);
}

void LogLine(const char* format, ...) {
    if (cfg.Log == 0 || logPath[0] == '\0') return;
    if (logFile == nullptr) {
        logFile = std::fopen(logPath, "a");
        if (logFile == nullptr) return;
    }
    va_list args;
    va_start(args, format);
    std::vfprintf(logFile, format, args);
    va_end(args);
    std::fputc('\n', logFile);
    std::fflush(logFile);
}

namespace {
// The process keeps the file open while the module is loaded; a module that is unloaded and loaded
// again must not leave its old handle behind.
struct LogFileCloser {
    ~LogFileCloser() {
        if (logFile != nullptr) std::fclose(logFile);
    }
} logFileCloser;
}  // namespace
