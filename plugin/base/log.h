#pragma once

/// Appends one printf-style line to the log file and flushes it; silent on any failure.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
/// Empties the log file of the previous run (done once, whatever Log says).
void TruncateLog();
