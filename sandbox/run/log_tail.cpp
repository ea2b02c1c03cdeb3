#include "run/log_tail.h"

#include <fstream>

namespace sandbox {

std::vector<std::string> LogTail::NewLines() {
    std::vector<std::string> lines;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path_, ec);
    if (ec) return lines;
    if (size < offset_) {
        offset_ = 0;
        partial_.clear();
    }
    if (size == offset_) return lines;
    std::ifstream in(path_, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset_));
    std::string chunk(static_cast<std::size_t>(size - offset_), '\0');
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    chunk.resize(static_cast<std::size_t>(in.gcount()));
    offset_ += chunk.size();
    partial_ += chunk;
    std::size_t start = 0;
    for (std::size_t nl = partial_.find('\n'); nl != std::string::npos; nl = partial_.find('\n', start)) {
        // A text-mode log on Windows ends its lines with CR LF.
        const std::size_t end = nl > start && partial_[nl - 1] == '\r' ? nl - 1 : nl;
        lines.push_back(partial_.substr(start, end - start));
        start = nl + 1;
    }
    partial_.erase(0, start);
    return lines;
}

}  // namespace sandbox
