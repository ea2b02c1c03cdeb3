#pragma once

// Heap bytes in use and their peak, counted by this program's own operator new: a benchmark can
// report what a piece of work holds at its worst, not only how long it takes.

#include <cstddef>

namespace bench {

std::size_t HeapBytesInUse();
// Starts a new peak from what is in use now, and returns the peak since the last call.
std::size_t TakeHeapPeak();

}  // namespace bench
