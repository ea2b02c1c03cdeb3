#include "allocation_count.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> inUse{0};
std::atomic<std::size_t> peak{0};

void* Counted(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    const std::size_t now = inUse += malloc_usable_size(block);
    std::size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
    return block;
}

void Uncounted(void* block) {
    if (block == nullptr) return;
    inUse -= malloc_usable_size(block);
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return Counted(size); }
void* operator new[](std::size_t size) { return Counted(size); }
void operator delete(void* block) noexcept { Uncounted(block); }
void operator delete[](void* block) noexcept { Uncounted(block); }
void operator delete(void* block, std::size_t) noexcept { Uncounted(block); }
void operator delete[](void* block, std::size_t) noexcept { Uncounted(block); }

namespace bench {

std::size_t HeapBytesInUse() { return inUse.load(); }

std::size_t TakeHeapPeak() { return peak.exchange(inUse.load()); }

}  // namespace bench
