#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace sandbox {

/// A folder the sandbox may not write into: it holds files the sandbox did not write, or another
/// sweep is writing there. The command line answers it with exit 2.
class FolderRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Makes `dir` the sandbox's own, or finds it so: a folder that does not exist yet, an empty one, one
/// that carries the sandbox's mark, or (with `force`) any folder. Anything else throws FolderRefused
/// naming the folder and the option that names it (`option`, e.g. "--dir"). Leaves the mark in it.
void ClaimFolder(const std::filesystem::path& dir, const std::string& option, bool force);

/// Holds a folder for one sweep while it lives: a second sweep into the same folder throws
/// FolderRefused with the holder's process id. The hold ends with the process, however it ends.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& dir);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    std::filesystem::path path_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace sandbox
