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
};

}  // namespace sandbox
