#include "files/owned_folder.h"

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <process.h>
#include "host/win32/windows.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace sandbox {

namespace fs = std::filesystem;

namespace {

// Written into every folder the sandbox writes runs or sweeps into.
constexpr const char* kMarkName = ".vigilor-sandbox";
constexpr const char* kLockName = ".vigilor-sweep.lock";

int ProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// What the sandbox writes into a game folder or a sweep's folder. A folder from before the mark
// existed counts as the sandbox's when it holds a module or a sweep's results, and nothing but these.
bool WrittenByAnEarlierSandbox(const fs::path& dir) {
    static const std::set<std::string> kNames = {"vigilor.so",  "vigilor.dll",       "vigilor.ini",
                                                 "vigilor.log", "vigilor.timed.log", "vigilor.unfinished.log",
                                                 "replay.html", "results.csv",       "report.html",
                                                 "runs"};
    bool signature = false;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (kNames.count(name) == 0) return false;
        signature = signature || name == "vigilor.so" || name == "vigilor.dll" || name == "results.csv";
    }
    return !ec && signature;
}

std::string HolderOf(const fs::path& lock) {
    std::ifstream in(lock);
    std::string pid;
    std::getline(in, pid);
    return pid.empty() ? "unknown" : pid;
}

}  // namespace

void ClaimFolder(const fs::path& dir, const std::string& option, bool force) {
    std::error_code ec;
    const bool ours = !fs::exists(dir, ec) || fs::is_empty(dir, ec) || fs::exists(dir / kMarkName, ec) ||
                      WrittenByAnEarlierSandbox(dir);
    if (!ours && !force) {
        throw FolderRefused(option + " " + dir.string() +
                            ": the folder holds files the sandbox did not write; choose another folder, or "
                            "add --force to write into it all the same");
    }
    fs::create_directories(dir, ec);
    if (ec) throw std::runtime_error("cannot create " + dir.string() + ": " + ec.message());
    if (!fs::exists(dir / kMarkName, ec)) {
        std::ofstream(dir / kMarkName) << "written by vigilor-sandbox\n";
    }
}

#ifdef _WIN32

FolderLock::FolderLock(const fs::path& dir) : path_(dir / kLockName) {
    // No other process may open the file for writing while this handle is open.
    handle_ = CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        handle_ = nullptr;
        throw FolderRefused(dir.string() + ": another sweep (process " + HolderOf(path_) +
                            ") is writing there");
    }
    const std::string pid = std::to_string(ProcessId()) + "\n";
    DWORD written = 0;
    SetEndOfFile(handle_);
    WriteFile(handle_, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
}

FolderLock::~FolderLock() {
    if (handle_ != nullptr) CloseHandle(handle_);
    std::error_code ec;
    fs::remove(path_, ec);
}

#else

FolderLock::FolderLock(const fs::path& dir) : path_(dir / kLockName) {
    fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) throw std::runtime_error("cannot create " + path_.string());
    // The kernel drops the lock when the holder's process ends, so a killed sweep leaves none.
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        close(fd_);
        fd_ = -1;
        throw FolderRefused(dir.string() + ": another sweep (process " + HolderOf(path_) +
                            ") is writing there");
    }
    const std::string pid = std::to_string(ProcessId()) + "\n";
    if (ftruncate(fd_, 0) != 0 || write(fd_, pid.data(), pid.size()) != static_cast<ssize_t>(pid.size())) {
        // The pid is only for the message of a refused sweep; the lock holds without it.
    }
}

FolderLock::~FolderLock() {
    if (fd_ < 0) return;
    std::error_code ec;
    fs::remove(path_, ec);
    close(fd_);
}

#endif

}  // namespace sandbox
