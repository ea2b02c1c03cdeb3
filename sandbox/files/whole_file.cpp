#include "files/whole_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace sandbox {

namespace fs = std::filesystem;

namespace {

// The streams keep no error number of their own: the system's, when it left one, else an I/O error.
int FailureReason() { return errno != 0 ? errno : EIO; }

std::runtime_error WriteError(const fs::path& path, int error) {
    return std::runtime_error("cannot write " + path.string() + ": " + SystemReason(error));
}

// Streams into `file` and closes it, every step checked. Returns the error number of the first step
// that failed, or 0. The streams keep no error number of their own, so errno is read at each check.
int StreamInto(const fs::path& file, const std::function<void(std::ostream&)>& write) {
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return FailureReason();
    write(out);
    if (!out) return FailureReason();
    out.flush();
    if (!out) return FailureReason();
    out.close();
    if (out.fail()) return FailureReason();
    return 0;
}

// A path to write through rather than replace: something is there and it is not a regular file.
bool WriteThrough(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    return !ec && fs::exists(status) && !fs::is_regular_file(status);
}

}  // namespace

std::string SystemReason(int error) {
    return error == 0 ? "unknown error" : std::generic_category().message(error);
}

void WriteWholeFile(const fs::path& path, std::string_view bytes) {
    WriteWholeFile(path, [bytes](std::ostream& out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    });
}

void WriteWholeFile(const fs::path& path, const std::function<void(std::ostream&)>& write) {
    if (WriteThrough(path)) {
        if (const int error = StreamInto(path, write)) throw WriteError(path, error);
        return;
    }
    const fs::path partial = path.string() + ".partial";
    int error = StreamInto(partial, write);
    if (error == 0) {
        std::error_code ec;
        fs::rename(partial, path, ec);
        error = ec.value();
    }
    if (error != 0) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw WriteError(path, error);
    }
}

StreamedFile::StreamedFile(fs::path path) : path_(std::move(path)) {
    errno = 0;
    out_.open(path_, std::ios::binary | std::ios::trunc);
    if (!out_) throw WriteError(path_, FailureReason());
}

void StreamedFile::Check() {
    if (error_ == 0 && !out_) error_ = FailureReason();
}

void StreamedFile::Write(std::string_view text) {
    if (error_ != 0) return;
    errno = 0;
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
    Check();
}

void StreamedFile::Close() {
    if (!out_.is_open()) return;
    errno = 0;
    if (error_ == 0) out_.flush();
    Check();
    out_.close();
    if (error_ == 0 && out_.fail()) error_ = FailureReason();
    if (error_ != 0) throw WriteError(path_, error_);
}

}  // namespace sandbox
