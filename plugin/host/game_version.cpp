#include "host/game_version.h"

#include <cstring>

#include "host/code.h"

namespace plugin {

namespace {

std::uint32_t ReadWord(CodeAddress address) {
    std::uint32_t word = 0;
    std::memcpy(&word, CodePointer(address), sizeof word);
    return word;
}

}  // namespace

unsigned int detect_game_id() {
    const std::uint32_t word = ReadWord(0x401000);
    if (word == 0x53EC8B55u) return 1001;
    if (word == 0x16197BE9u) return 1002;
    return 0;
}

unsigned int GetGameVersion() {
    static const unsigned int id = detect_game_id();
    return id;
}

}  // namespace plugin
