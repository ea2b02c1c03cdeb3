#pragma once

#include <cstdint>

#include "host/code.h"

namespace plugin {

/// A 32-bit word that only one host build holds at a fixed code address.
struct BuildSignature {
    CodeAddress address;
    std::uint32_t word;
    unsigned int build;
};

/// The builds we can tell apart, in the order they are tested; the first match wins.
inline constexpr BuildSignature kBuildSignatures[] = {
    {0x401000, 0x53EC8B55u, 1001}, {0x401000, 0x16197BE9u, 1002}, {0x4010A0, 0x5D8BEC83u, 1011},
    {0x401140, 0xC35E5F1Au, 1101}, {0x4011E0, 0x8B0424FFu, 1111}, {0x401280, 0x3D8B2E40u, 3200},
    {0x401320, 0x6A08EC81u, 3210},
};

/// Build id of the host executable from its code bytes: 1001, 1002, ... or 0 when unknown.
unsigned int detect_game_id();
/// The build id, detected once.
unsigned int GetGameVersion();

}  // namespace plugin
