#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sandbox {

/// A binary min-heap of 64-bit keys that keeps its storage from one use to the next. With unique keys
/// it pops them in ascending order, as any heap would.
class KeyHeap {
public:
    void Clear() { size_ = 0; }
    bool Empty() const { return size_ == 0; }

    void Push(std::uint64_t key) {
        if (size_ == keys_.size()) keys_.resize(std::max<std::size_t>(64, 2 * size_));
        Rise(size_++, key);
    }

    /// The smallest key, taken out; the heap must not be empty.
    std::uint64_t PopSmallest() {
        std::uint64_t* const h = keys_.data();
        const std::uint64_t top = h[0];
        const std::uint64_t last = h[--size_];
        const std::size_t n = size_;
        // The last key mostly belongs near the bottom: the hole left at the top goes down along the
        // smaller children all the way, one comparison a level, and the last key rises from there.
        std::size_t hole = 0;
        std::size_t child = 1;
        for (; child + 1 < n; child = 2 * hole + 1) {
            child += h[child + 1] < h[child];
            h[hole] = h[child];
            hole = child;
        }
        if (child < n) {
            h[hole] = h[child];
            hole = child;
        }
        Rise(hole, last);
        return top;
    }

private:
    /// Puts `key` in the hole, or above it where its parents are larger, moving them down.
    void Rise(std::size_t hole, std::uint64_t key) {
        std::uint64_t* const h = keys_.data();
        while (hole > 0) {
            const std::size_t parent = (hole - 1) / 2;
            if (h[parent] < key) break;
            h[hole] = h[parent];
            hole = parent;
        }
        h[hole] = key;
    }

    std::vector<std::uint64_t> keys_;  ///< the heap is the first size_ of them
    std::size_t size_ = 0;
};

}  // namespace sandbox
