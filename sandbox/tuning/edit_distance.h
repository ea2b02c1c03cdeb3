#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sandbox {

/// The letters of a name of at most 64, counted: enough for a floor under its distance to another
/// name, found in a few machine words.
class NameLetters {
public:
    static constexpr std::size_t kLongest = 64;

    /// `name` must have at most kLongest letters.
    explicit NameLetters(std::string_view name);

    /// A floor under the edit distance to `other`: all but the letters both names share (counted as
    /// often as both have them) of the longer name take an edit each. Once the floor is sure to
    /// reach `limit`, some number at least `limit`.
    std::size_t LeastDistanceTo(const NameLetters& other, std::size_t limit = SIZE_MAX) const;

    std::size_t Length() const { return length_; }

private:
    std::array<std::uint8_t, 256> counts_{};         // by byte in lower case: how often it holds it
    std::array<std::uint8_t, kLongest> distinct_{};  // the bytes of counts_ above zero
    std::size_t distinctCount_ = 0;
    std::array<std::uint64_t, 2> ascii_{};  // which ASCII bytes it holds, in lower case
    std::uint8_t mostOfOne_ = 0;            // the highest of counts_ over ASCII bytes
    std::size_t beyondAscii_ = 0;           // how many of its bytes lie past ASCII
    std::size_t length_;
};

/// A name of at most 64 letters, ready to be compared with many others: each comparison walks the
/// other name once, a bit of one machine word per letter of this one. A settings check may compare
/// hundreds of thousands of unknown names with every known key.
class NamePattern {
public:
    static constexpr std::size_t kLongest = NameLetters::kLongest;

    /// `name` must have at most kLongest letters.
    explicit NamePattern(std::string_view name);

    /// Edits (insert, delete, replace one letter) between this name and `other`, case ignored; once
    /// the count is sure to reach `limit`, some number at least `limit`.
    std::size_t DistanceTo(std::string_view other, std::size_t limit = SIZE_MAX) const;

    const NameLetters& Letters() const { return letters_; }

private:
    std::array<std::uint64_t, 256> positions_{};  // by byte: where the name holds it, either case
    NameLetters letters_;
};

/// Edits (insert, delete, replace one letter) between two names, case ignored; once the count is
/// sure to reach `limit`, some number at least `limit`.
std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit = SIZE_MAX);

}  // namespace sandbox
