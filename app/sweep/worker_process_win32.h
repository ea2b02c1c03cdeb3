#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "host/win32/windows.h"

namespace app {

/// Why a worker process could not be started.
class WorkerStartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// One worker process of a Windows sweep ("sweep-worker"), spoken to through a named pipe of its own.
/// Its host code range must be free before anything of the process maps there: on Windows the
/// worker is started suspended and the range reserved in it before it runs; under Wine, whose
/// loader hands a new process's early reservation to its own image and maps its start-up heaps
/// across the range, the worker is started through Wine's loader with the reservation asked for.
class WorkerProcess {
public:
    /// Starts the worker and waits until it has opened its pipe; throws WorkerStartError.
    WorkerProcess();
    /// Closes the pipe, on which the worker ends, and waits for its end.
    ~WorkerProcess();
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;

    /// False when the worker can no longer be reached.
    bool Send(const std::string& line);
    /// The worker's next line, without its end; nothing once the worker has ended.
    std::optional<std::string> ReadLine();
    /// Ends the worker at once (from any thread); its pending read then gives nothing.
    void Kill();
    /// How the worker ended, for a job it gave no answer to.
    std::string EndReason();
    /// User and system time the worker has used.
    double CpuSeconds() const;

private:
    bool Transfer(bool write, char* data, DWORD size, DWORD& done);

    HANDLE pipe_ = INVALID_HANDLE_VALUE;
    HANDLE process_ = nullptr;
    std::string pending_;  // bytes read past the last whole line
};

}  // namespace app
