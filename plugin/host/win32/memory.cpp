#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "host/win32/windows.h"

// Host code pages are mapped read-only; a patch lifts the protection of the pages it touches.
int VirtualProtect(void* address, std::size_t size, unsigned long newProtect, unsigned long* oldProtect) {
    if (address == nullptr || size == 0) return 0;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(address) & ~(page - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(address) + size;
    const int prot = newProtect == PAGE_EXECUTE_READWRITE ? PROT_READ | PROT_WRITE : PROT_READ;
    if (mprotect(reinterpret_cast<void*>(start), end - start, prot) != 0) return 0;
    // The host image is only ever read-only or writable, so the previous state is read-only.
    if (oldProtect != nullptr) *oldProtect = 0x20;  // PAGE_EXECUTE_READ
    return 1;
}
