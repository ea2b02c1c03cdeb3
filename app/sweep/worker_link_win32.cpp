#include <fcntl.h>
#include <io.h>

#include <ext/stdio_filebuf.h>
#include <iostream>
#include <stdexcept>

#include "code/code_image.h"
#include "host/win32/windows.h"
#include "pools/fixed_region.h"
#include "sweep/worker_link.h"

namespace app {

namespace {

// The pipe as a C runtime descriptor, for a stream buffer; the descriptor owns the handle.
int Descriptor(HANDLE handle, int mode) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), mode | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        throw std::runtime_error("sweep-worker: cannot use the pipe");
    }
    return fd;
}

}  // namespace

struct WorkerLink::Streams {
    __gnu_cxx::stdio_filebuf<char> inBuffer;
    __gnu_cxx::stdio_filebuf<char> outBuffer;
    std::istream in{&inBuffer};
    std::ostream out{&outBuffer};

    Streams(int inFd, int outFd) : inBuffer(inFd, std::ios::in), outBuffer(outFd, std::ios::out) {}
};

WorkerLink::WorkerLink(const WorkerLinkOptions& options) {
    // Taken before anything of a run could map there: the sweep reserved it while this process was
    // still suspended.
    if (options.heldRange)
        sandbox::HoldReservedRange(sandbox::CodeImage::kBase,
                                   sandbox::CodeImage::kEnd - sandbox::CodeImage::kBase);
    if (options.pipe.empty()) return;
    const std::wstring name(options.pipe.begin(), options.pipe.end());
    HANDLE pipe =
        CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE)
        throw std::runtime_error("sweep-worker: cannot open " + options.pipe + " (error " +
                                 std::to_string(GetLastError()) + ")");
    HANDLE second = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), pipe, GetCurrentProcess(), &second, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        CloseHandle(pipe);
        throw std::runtime_error("sweep-worker: cannot use the pipe");
    }
    const int in = Descriptor(pipe, _O_RDONLY);
    streams_ = std::make_unique<Streams>(in, Descriptor(second, _O_WRONLY));
}

WorkerLink::~WorkerLink() = default;

std::istream& WorkerLink::In() { return streams_ ? streams_->in : std::cin; }
std::ostream& WorkerLink::Out() { return streams_ ? streams_->out : std::cout; }

}  // namespace app
