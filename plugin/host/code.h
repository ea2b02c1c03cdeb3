#pragma once

#include <cstdint>

// Host code is addressed by 32-bit addresses, as on the host's own 32-bit process.
namespace plugin {

using CodeAddress = std::uint32_t;

/// Host memory at a code address (on the real host the address itself).
std::uint8_t* CodePointer(CodeAddress address);

/// The code address at which the host reaches one of our functions; on the real 32-bit host this
/// is the function's own address.
CodeAddress CodeAddressOf(void (*function)());

/// Calls the host function at an address that takes nothing and returns nothing.
void CallCode(CodeAddress address);

/// Calls the host member function at an address on `self` with five floats; no result.
void CallCodeMethod(CodeAddress address, void* self, float a, float b, float c, float d, float e);

/// A host member function at a fixed code address, e.g. CallMethod<0x6A2390>(heli, x, y, z1, z2, z3).
template <CodeAddress address, class Self>
void CallMethod(Self* self, float a, float b, float c, float d, float e) {
    CallCodeMethod(address, self, a, b, c, d, e);
}

}  // namespace plugin
