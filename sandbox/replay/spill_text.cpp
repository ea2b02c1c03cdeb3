#include "replay/spill_text.h"

#include <stdexcept>
#include <string_view>

namespace sandbox {

void SpillText::Settle() {
    if (buffer_.size() < kBlock) return;
    if (!spilled_) {
        spilled_.reset(std::tmpfile());
        if (!spilled_) throw std::runtime_error("cannot open a scratch file for the replay");
    }
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), spilled_.get()) != buffer_.size()) {
        throw std::runtime_error("cannot write the replay's scratch file");
    }
    spilledBytes_ += buffer_.size();
    buffer_.clear();
}

void SpillText::CopyFrom(std::size_t mark, std::ostream& out) const {
    if (mark > 0 && mark < Bytes()) ++mark;  // the comma before the first item after the mark
    if (spilled_ && mark < spilledBytes_) {
        std::FILE* f = spilled_.get();
        std::fflush(f);
        if (std::fseek(f, static_cast<long>(mark), SEEK_SET) != 0)
            throw std::runtime_error("cannot read the replay's scratch file");
        char block[1 << 16];
        std::size_t n = 0;
        while ((n = std::fread(block, 1, sizeof block, f)) > 0)
            out.write(block, static_cast<std::streamsize>(n));
        if (std::ferror(f)) throw std::runtime_error("cannot read the replay's scratch file");
        std::fseek(f, 0, SEEK_END);
    }
    out << std::string_view(buffer_).substr(mark > spilledBytes_ ? mark - spilledBytes_ : 0);
}

}  // namespace sandbox
