#include "player/cop_memory.h"

#include <algorithm>

#include "world/host_clock.h"

namespace sandbox {

void CopMemory::Forget(std::uint32_t now) {
    std::erase_if(seen_, [&](const Sighting& s) { return Ended(now, EndAfter(s.at, kMemoryMs)); });
}

void CopMemory::Note(const Sighting& seen) {
    const auto known =
        std::find_if(seen_.begin(), seen_.end(), [&](const Sighting& s) { return s.slot == seen.slot; });
    if (known != seen_.end()) {
        *known = seen;
    } else {
        seen_.push_back(seen);
    }
}

}  // namespace sandbox
