#include "sweep/worker_process_win32.h"

#include <atomic>
#include <cstdio>
#include <vector>

#include "code/code_image.h"

namespace app {

namespace {

// A worker that has not opened its pipe by then is taken not to have started; it is no test's timing.
constexpr DWORD kConnectWaitMs = 120000;
constexpr std::size_t kMaxPath = 32768;

std::wstring OwnPath() {
    std::vector<wchar_t> path(kMaxPath);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) throw WorkerStartError("cannot find this program's own file");
    return std::wstring(path.data(), length);
}

std::wstring PipeName() {
    static std::atomic<unsigned> count{0};
    return L"\\\\.\\pipe\\vigilor-sweep-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++count);
}

std::wstring Hex(std::uint32_t value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%x", value);
    return text;
}

std::string Error(const char* what) {
    return std::string(what) + " (error " + std::to_string(GetLastError()) + ")";
}

// Wine's own call for a Unix file's name in Windows terms; the system has none, which is how Wine is told
// apart.
using DosFileName = LPWSTR(CDECL*)(LPCSTR);
DosFileName WineDosFileName() {
    return reinterpret_cast<DosFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_dos_file_name")));
}

HANDLE StartProcess(const std::wstring& program, std::wstring commandLine, DWORD flags) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                        &startup, &info)) {
        throw WorkerStartError(Error("cannot start a worker process"));
    }
    if (info.hThread != nullptr && (flags & CREATE_SUSPENDED) == 0) CloseHandle(info.hThread);
    if ((flags & CREATE_SUSPENDED) == 0) return info.hProcess;
    // Reserved while nothing of the new process has run yet, so that no start-up allocation takes it.
    const auto base = reinterpret_cast<void*>(static_cast<std::uintptr_t>(sandbox::CodeImage::kBase));
    if (VirtualAllocEx(info.hProcess, base, sandbox::CodeImage::kEnd - sandbox::CodeImage::kBase, MEM_RESERVE,
                       PAGE_NOACCESS) != base) {
        const std::string why = Error("the host's code range is already in use in a new process");
        TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        throw WorkerStartError(why);
    }
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    return info.hProcess;
}

// Under Wine the worker is started through Wine's loader, a Unix program, with the reservation in its
// environment. Wine runs a Unix program as a process of no handle of ours, and with no standard
// streams of ours: the worker is known by its pipe.
void StartUnderWine(DosFileName dosFileName, const std::wstring& pipe) {
    LPWSTR env = dosFileName("/usr/bin/env");
    if (env == nullptr) throw WorkerStartError("Wine finds no /usr/bin/env to start a worker through");
    const std::wstring program(env);
    HeapFree(GetProcessHeap(), 0, env);
    const std::wstring reserve = Hex(sandbox::CodeImage::kBase) + L"-" + Hex(sandbox::CodeImage::kEnd);
    StartProcess(
        program,
        L"env WINEPRELOADRESERVE=" + reserve + L" wine \"" + OwnPath() + L"\" sweep-worker --pipe " + pipe,
        0);
}

std::string ExitText(DWORD code) {
    char text[64];
    if (code >= 0xC0000000u) {
        std::snprintf(text, sizeof text, "worker crashed (exception 0x%08lx)",
                      static_cast<unsigned long>(code));
    } else {
        std::snprintf(text, sizeof text, "worker exited with status %lu", static_cast<unsigned long>(code));
    }
    return text;
}

}  // namespace

WorkerProcess::WorkerProcess() {
    const std::wstring name = PipeName();
    pipe_ = CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 1 << 16, 1 << 16, 0, nullptr);
    if (pipe_ == INVALID_HANDLE_VALUE) throw WorkerStartError(Error("cannot create a pipe for a worker"));
    try {
        if (DosFileName dosFileName = WineDosFileName()) {
            StartUnderWine(dosFileName, name);
        } else {
            process_ =
                StartProcess(OwnPath(), L"\"" + OwnPath() + L"\" sweep-worker --held-range --pipe " + name,
                             CREATE_SUSPENDED | CREATE_NEW_PROCESS_GROUP);
        }
        OVERLAPPED connect{};
        connect.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        const bool connected = ConnectNamedPipe(pipe_, &connect) || GetLastError() == ERROR_PIPE_CONNECTED;
        if (!connected && GetLastError() == ERROR_IO_PENDING) {
            const HANDLE waits[] = {connect.hEvent, process_};
            const DWORD woke = WaitForMultipleObjects(process_ ? 2 : 1, waits, FALSE, kConnectWaitMs);
            if (woke != WAIT_OBJECT_0) {
                CancelIoEx(pipe_, &connect);
                DWORD ignored = 0;
                GetOverlappedResult(pipe_, &connect, &ignored, TRUE);
                CloseHandle(connect.hEvent);
                throw WorkerStartError(woke == WAIT_TIMEOUT
                                           ? "the worker did not open its pipe within two minutes"
                                           : "the worker ended before it opened its pipe");
            }
        } else if (!connected) {
            CloseHandle(connect.hEvent);
            throw WorkerStartError(Error("the worker could not be connected"));
        }
        CloseHandle(connect.hEvent);
        if (process_ == nullptr) {
            ULONG id = 0;
            if (GetNamedPipeClientProcessId(pipe_, &id))
                process_ = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION,
                                       FALSE, id);
            if (process_ == nullptr) throw WorkerStartError(Error("cannot reach the worker's process"));
        }
    } catch (...) {
        if (process_ != nullptr) {
            TerminateProcess(process_, 1);
            CloseHandle(process_);
        }
        CloseHandle(pipe_);
        throw;
    }
}

WorkerProcess::~WorkerProcess() {
    CloseHandle(pipe_);
    WaitForSingleObject(process_, INFINITE);
    CloseHandle(process_);
}

bool WorkerProcess::Transfer(bool write, char* data, DWORD size, DWORD& done) {
    OVERLAPPED io{};
    io.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const BOOL started =
        write ? WriteFile(pipe_, data, size, nullptr, &io) : ReadFile(pipe_, data, size, nullptr, &io);
    const bool ok =
        (started || GetLastError() == ERROR_IO_PENDING) && GetOverlappedResult(pipe_, &io, &done, TRUE);
    CloseHandle(io.hEvent);
    return ok && done > 0;
}

bool WorkerProcess::Send(const std::string& line) {
    std::string text = line;
    for (std::size_t sent = 0; sent < text.size();) {
        DWORD done = 0;
        if (!Transfer(true, text.data() + sent, static_cast<DWORD>(text.size() - sent), done)) return false;
        sent += done;
    }
    return true;
}

std::optional<std::string> WorkerProcess::ReadLine() {
    for (;;) {
        const std::size_t newline = pending_.find('\n');
        if (newline != std::string::npos) {
            std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return line;
        }
        char buffer[4096];
        DWORD done = 0;
        if (!Transfer(false, buffer, sizeof buffer, done)) return std::nullopt;
        pending_.append(buffer, done);
    }
}

void WorkerProcess::Kill() { TerminateProcess(process_, 1); }

std::string WorkerProcess::EndReason() {
    // The pipe breaks only once the worker has let go of it, as it ends.
    WaitForSingleObject(process_, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code == 0 ? "worker ended without an answer" : ExitText(code);
}

double WorkerProcess::CpuSeconds() const {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process_, &created, &exited, &kernel, &user)) return 0.0;
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

}  // namespace app
