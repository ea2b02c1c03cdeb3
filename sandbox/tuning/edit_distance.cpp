#include "tuning/edit_distance.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace sandbox {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Set bits, counted in the word itself: the portable build has no population-count instruction, and
// the library's fallback is a call per word.
int BitCount(std::uint64_t word) {
    word -= (word >> 1) & 0x5555555555555555ULL;
    word = (word & 0x3333333333333333ULL) + ((word >> 2) & 0x3333333333333333ULL);
    word = (word + (word >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((word * 0x0101010101010101ULL) >> 56);
}

std::size_t TableDistance(std::string_view a, std::string_view b, std::size_t limit) {
    thread_local std::vector<std::size_t> row;
    row.resize(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        std::size_t least = row[0];
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t replace = diagonal + (Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, replace});
            least = std::min(least, row[j]);
        }
        // No later row goes below this one's least.
        if (least >= limit) return limit;
    }
    return row[b.size()];
}

}  // namespace

NameLetters::NameLetters(std::string_view name) : length_(name.size()) {
    for (const char c : name) {
        const auto lower = static_cast<unsigned char>(Lower(c));
        if (counts_[lower]++ == 0) distinct_[distinctCount_++] = lower;
        if (lower < 128) {
            ascii_[lower / 64] |= std::uint64_t{1} << (lower % 64);
            mostOfOne_ = std::max(mostOfOne_, counts_[lower]);
        } else {
            ++beyondAscii_;
        }
    }
}

std::size_t NameLetters::LeastDistanceTo(const NameLetters& other, std::size_t limit) const {
    const std::size_t longer = std::max(length_, other.length_);
    // At most this many letters are shared: each ASCII letter both hold, as often as either holds
    // its most frequent one, and every byte past ASCII the shorter run of them has.
    const std::size_t mostShared = static_cast<std::size_t>(BitCount(ascii_[0] & other.ascii_[0]) +
                                                            BitCount(ascii_[1] & other.ascii_[1])) *
                                       std::min(mostOfOne_, other.mostOfOne_) +
                                   std::min(beyondAscii_, other.beyondAscii_);
    if (mostShared < longer && longer - mostShared >= limit) return longer - mostShared;
    std::size_t shared = 0;
    for (std::size_t i = 0; i < distinctCount_; ++i) {
        shared += std::min(counts_[distinct_[i]], other.counts_[distinct_[i]]);
    }
    return longer - shared;
}

NamePattern::NamePattern(std::string_view name) : letters_(name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const std::uint64_t bit = std::uint64_t{1} << i;
        positions_[static_cast<unsigned char>(Lower(name[i]))] |= bit;
        positions_[static_cast<unsigned char>(Upper(name[i]))] |= bit;
    }
}

std::size_t NamePattern::DistanceTo(std::string_view other, std::size_t limit) const {
    const std::size_t length = letters_.Length();
    if (length == 0) return other.size();
    // The table's columns as bit vectors of +1 and -1 steps down a column (Hyyro's form of Myers'
    // method); the score follows the last row.
    const std::uint64_t last = std::uint64_t{1} << (length - 1);
    std::uint64_t plusDown = ~std::uint64_t{0};
    std::uint64_t minusDown = 0;
    std::size_t score = length;
    std::size_t left = other.size();
    for (const char c : other) {
        // Each letter still to come lowers the score by one at most.
        if (score > left && score - left >= limit) return limit;
        --left;
        const std::uint64_t equal = positions_[static_cast<unsigned char>(c)];
        const std::uint64_t crossDown = equal | minusDown;
        const std::uint64_t crossAcross = (((equal & plusDown) + plusDown) ^ plusDown) | equal;
        std::uint64_t plusAcross = minusDown | ~(crossAcross | plusDown);
        std::uint64_t minusAcross = plusDown & crossAcross;
        if (plusAcross & last) ++score;
        if (minusAcross & last) --score;
        // The top row counts the letters of `other` so far: it always steps up by one.
        plusAcross = (plusAcross << 1) | 1;
        minusAcross <<= 1;
        plusDown = minusAcross | ~(crossDown | plusAcross);
        minusDown = plusAcross & crossDown;
    }
    return score;
}

std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit) {
    if (a.size() > b.size()) std::swap(a, b);
    if (a.size() <= NamePattern::kLongest) return NamePattern(a).DistanceTo(b, limit);
    return TableDistance(a, b, limit);
}

}  // namespace sandbox
