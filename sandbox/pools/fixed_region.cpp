#include "pools/fixed_region.h"

#ifdef _WIN32
#include "host/win32/windows.h"
#else
#include <sys/mman.h>
#endif

#include <stdexcept>
#include <string>

namespace sandbox {

namespace {

#ifdef _WIN32
// The system's own start-up allocations may already sit in the host's low code range.
constexpr const char* kTakenHint =
    " (is another sandbox world still alive? Under Wine, start the program with"
    " WINEPRELOADRESERVE=400000-700000 to keep the code range free)";
#else
constexpr const char* kTakenHint = " (is another sandbox world still alive?)";
#endif

[[noreturn]] void Taken(std::uintptr_t address) {
    throw std::runtime_error("cannot map host memory at " + std::to_string(address) + kTakenHint);
}

}  // namespace

#ifdef _WIN32

namespace {

struct HeldRange {
    std::uintptr_t address = 0;
    std::size_t size = 0;
    bool Holds(std::uintptr_t a, std::size_t s) const { return a >= address && a - address + s <= size; }
};
HeldRange held;

// Reserved and not in use: no page of it committed.
bool Unused(std::uintptr_t address, std::size_t size) {
    MEMORY_BASIC_INFORMATION info{};
    return VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info) != 0 &&
           info.State == MEM_RESERVE && info.RegionSize >= size;
}

}  // namespace

void HoldReservedRange(std::uintptr_t address, std::size_t size) {
    MEMORY_BASIC_INFORMATION info{};
    const bool ours = VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info) != 0 &&
                      info.AllocationBase == reinterpret_cast<void*>(address);
    if (!ours || !Unused(address, size)) {
        throw std::runtime_error("the host range at " + std::to_string(address) +
                                 " was not reserved for this process");
    }
    held = {address, size};
}

FixedRegion::FixedRegion(std::uintptr_t address, std::size_t size) : size_(size) {
    held_ = held.Holds(address, size);
    if (held_ && !Unused(address, size)) Taken(address);
    // Reserving at an exact address fails when any of the range is in use, as a fixed map must.
    void* p = held_ ? VirtualAlloc(reinterpret_cast<void*>(address), size, MEM_COMMIT, PAGE_READWRITE)
                    : VirtualAlloc(reinterpret_cast<void*>(address), size, MEM_RESERVE | MEM_COMMIT,
                                   PAGE_READWRITE);
    if (p == nullptr) Taken(address);
    if (p != reinterpret_cast<void*>(address)) {
        VirtualFree(p, 0, MEM_RELEASE);
        Taken(address);
    }
    data_ = static_cast<std::uint8_t*>(p);
}

FixedRegion::~FixedRegion() {
    if (held_) {
        VirtualFree(data_, size_, MEM_DECOMMIT);
    } else {
        VirtualFree(data_, 0, MEM_RELEASE);
    }
}

void FixedRegion::MakeReadOnly() {
    DWORD old = 0;
    VirtualProtect(data_, size_, PAGE_READONLY, &old);
}

#else

FixedRegion::FixedRegion(std::uintptr_t address, std::size_t size) : size_(size) {
    void* p = mmap(reinterpret_cast<void*>(address), size, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    if (p == MAP_FAILED) Taken(address);
    if (p != reinterpret_cast<void*>(address)) {
        munmap(p, size);
        Taken(address);
    }
    data_ = static_cast<std::uint8_t*>(p);
}

FixedRegion::~FixedRegion() { munmap(data_, size_); }

void FixedRegion::MakeReadOnly() { mprotect(data_, size_, PROT_READ); }

#endif

}  // namespace sandbox
