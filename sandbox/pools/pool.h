#pragma once

#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "host/pools.h"
#include "pools/fixed_region.h"

namespace sandbox {

/// A host pool: fixed slots at a fixed address, an in-use flag per slot, and a generation per slot
/// so that a handle stops working when its slot is reused.
template <class Object, class HostType>
class Pool : public CPool<HostType> {
public:
    Pool(std::uintptr_t address, int slots)
        : slots_(slots),
          region_(address, static_cast<std::size_t>(slots) * kSlotBytes),
          used_(static_cast<std::size_t>(slots)),
          generation_(static_cast<std::size_t>(slots)) {}
    ~Pool() {
        for (int i = 0; i < slots_; ++i) Free(i);
    }
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    int Size() const { return slots_; }
    Object* At(int index) const {
        if (index < 0 || index >= slots_ || !used_[index]) return nullptr;
        return SlotObject(index);
    }
    int IndexOf(const Object* object) const {
        const auto offset = reinterpret_cast<const std::uint8_t*>(object) - region_.data();
        if (offset < 0 || offset % static_cast<std::ptrdiff_t>(kSlotBytes) != 0) return -1;
        const auto index = static_cast<int>(offset / static_cast<std::ptrdiff_t>(kSlotBytes));
        return index < slots_ && used_[index] ? index : -1;
    }

    /// Places a new object in the first free slot; null when the pool is full.
    template <class... Args>
    Object* Create(Args&&... args) {
        for (int i = 0; i < slots_; ++i) {
            if (used_[i]) continue;
            used_[i] = true;
            generation_[i] = static_cast<std::uint8_t>(generation_[i] == 255 ? 1 : generation_[i] + 1);
            return new (region_.data() + static_cast<std::size_t>(i) * kSlotBytes)
                Object(std::forward<Args>(args)...);
        }
        return nullptr;
    }
    void Free(int index) {
        if (index < 0 || index >= slots_ || !used_[index]) return;
        SlotObject(index)->~Object();
        used_[index] = false;
    }

    /// Handle: slot index times 256 plus the slot's generation.
    int HandleOf(const Object* object) const {
        const int index = IndexOf(object);
        return index < 0 ? -1 : index * 256 + generation_[index];
    }
    Object* FromHandle(int handle) const {
        if (handle < 0) return nullptr;
        const int index = handle / 256;
        Object* object = At(index);
        return object != nullptr && generation_[index] == handle % 256 ? object : nullptr;
    }

private:
    static constexpr std::size_t kSlotBytes = (sizeof(Object) + 63) / 64 * 64;

    Object* SlotObject(int index) const {
        return std::launder(
            reinterpret_cast<Object*>(region_.data() + static_cast<std::size_t>(index) * kSlotBytes));
    }

    int slots_;
    FixedRegion region_;
    std::vector<char> used_;
    std::vector<std::uint8_t> generation_;
};

}  // namespace sandbox
