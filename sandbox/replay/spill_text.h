#pragma once

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace sandbox {

/// Where a reader who follows a recording as it grows got to: the length of each column it read,
/// in the order it reads them. Each read goes through the columns in the same order.
class ColumnMarks {
public:
    void Rewind() { next_ = 0; }
    /// The next column's mark, 0 the first time.
    std::size_t& Next() {
        if (next_ == marks_.size()) marks_.push_back(0);
        return marks_[next_++];
    }

private:
    std::vector<std::size_t> marks_;
    std::size_t next_ = 0;
};

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
    void CopyTo(std::ostream& out) const { CopyFrom(0, out); }
    /// How much text has been appended in all: a mark for CopyFrom, for a reader who follows the
    /// recording as it grows.
    std::size_t Bytes() const { return spilledBytes_ + buffer_.size(); }
    /// Writes the items appended since `mark` (a Bytes() taken earlier), without the comma that
    /// joins them to the ones before. Throws std::runtime_error on a read failure.
    void CopyFrom(std::size_t mark, std::ostream& out) const;
    /// "name":[...] with the items since `mark`, which it moves on.
    void WriteSince(std::ostream& out, const char* name, std::size_t& mark) const {
        out << '"' << name << "\":[";
        CopyFrom(mark, out);
        out << ']';
        mark = Bytes();
    }
    bool Empty() const { return items_ == 0; }
    std::size_t Items() const { return items_; }

private:
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::string buffer_;
    std::unique_ptr<std::FILE, FileCloser> spilled_;
    std::size_t items_ = 0;
    std::size_t spilledBytes_ = 0;
};

}  // namespace sandbox
