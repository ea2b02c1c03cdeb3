#pragma once

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>

namespace sandbox {

/// Text that grows for the length of a run, kept in memory up to a block and moved to a scratch
/// file beyond it, so that a long recording costs disk rather than memory. Items are written
/// comma-separated, as the elements of a JSON array.
class SpillText {
public:
    static constexpr std::size_t kBlock = 1 << 20;

    /// The buffer to append the next item to; a comma is put first when items came before.
    std::string& Item() {
        if (items_++ > 0) buffer_ += ',';
        return buffer_;
    }
    /// Starts an item with text[1..size): text[0] is left free for the comma, so that both go in
    /// with one append. Returns the buffer, for the rest of the item if any.
    std::string& AddItem(char* text, std::size_t size) {
        if (items_++ > 0) {
            text[0] = ',';
            return buffer_.append(text, size);
        }
        return buffer_.append(text + 1, size - 1);
    }
    /// Moves the buffered text to the scratch file once it has grown past a block.
    void Settle();
    /// Writes everything appended so far, in order. Throws std::runtime_error on a read failure.
    void CopyTo(std::ostream& out) const;
    bool Empty() const { return items_ == 0; }
    std::size_t Items() const { return items_; }

private:
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::string buffer_;
    std::unique_ptr<std::FILE, FileCloser> spilled_;
    std::size_t items_ = 0;
};

}  // namespace sandbox
