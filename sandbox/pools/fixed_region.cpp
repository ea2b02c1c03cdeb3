#include "pools/fixed_region.h"

#include <sys/mman.h>

#include <stdexcept>
#include <string>

namespace sandbox {

FixedRegion::FixedRegion(std::uintptr_t address, std::size_t size) : size_(size) {
    void* p = mmap(reinterpret_cast<void*>(address), size, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    if (p == MAP_FAILED || p != reinterpret_cast<void*>(address)) {
        if (p != MAP_FAILED) munmap(p, size);
        throw std::runtime_error("cannot map host memory at " + std::to_string(address) +
                                 " (is another sandbox world still alive?)");
    }
    data_ = static_cast<std::uint8_t*>(p);
}

FixedRegion::~FixedRegion() { munmap(data_, size_); }

}  // namespace sandbox
