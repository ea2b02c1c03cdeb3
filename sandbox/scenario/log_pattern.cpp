#include "scenario/log_pattern.h"

#include <cstddef>

namespace sandbox {

// Greedy scan that only ever backtracks to the most recent star: a later star can absorb anything an
// earlier one could, so older choices never need revisiting. Worst case pattern length times line length.
bool MatchesPattern(std::string_view pattern, std::string_view line) {
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t p = 0;
    std::size_t l = 0;
    std::size_t starAt = kNone;  // position of the last star seen in the pattern
    std::size_t resumeLine = 0;  // where in the line that star's run currently ends
    while (l < line.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeLine = l;
        } else if (p < pattern.size() && pattern[p] == line[l]) {
            ++p;
            ++l;
        } else if (starAt != kNone) {
            p = starAt + 1;
            l = ++resumeLine;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace sandbox
