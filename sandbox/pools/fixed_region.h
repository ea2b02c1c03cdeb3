#pragma once

#include <cstddef>
#include <cstdint>

namespace sandbox {

/// Memory mapped at a fixed address, so that host objects have the same addresses on every run and
/// "%p" in the plugin's log prints the same. Throws std::runtime_error when the range is taken.
class FixedRegion {
public:
    FixedRegion(std::uintptr_t address, std::size_t size);
    ~FixedRegion();
    FixedRegion(const FixedRegion&) = delete;
    FixedRegion& operator=(const FixedRegion&) = delete;

    /// Read-only from now on, as a host's code pages are; a patch must lift the protection first.
    void MakeReadOnly();

    std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    std::uint8_t* data_;
    std::size_t size_;
    bool held_ = false;  // inside a held range: its pages are given back, the range kept
};

#ifdef _WIN32
/// A range this process holds reserved already, reserved for it by the process that started it
/// before anything else could map there. Fixed regions inside it commit their pages there instead of
/// reserving anew, and give them back without releasing the range, so that it stays held from one
/// run to the next. Throws std::runtime_error when no reservation starts there that covers it.
void HoldReservedRange(std::uintptr_t address, std::size_t size);
#endif

}  // namespace sandbox
