#include "replay/spill_text.h"

#include <stdexcept>

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
    buffer_.clear();
}

void SpillText::CopyTo(std::ostream& out) const {
    if (spilled_) {
        std::FILE* f = spilled_.get();
        std::fflush(f);
        std::rewind(f);
        char block[1 << 16];
        std::size_t n = 0;
        while ((n = std::fread(block, 1, sizeof block, f)) > 0)
            out.write(block, static_cast<std::streamsize>(n));
        if (std::ferror(f)) throw std::runtime_error("cannot read the replay's scratch file");
        std::fseek(f, 0, SEEK_END);
    }
    out << buffer_;
}

}  // namespace sandbox
