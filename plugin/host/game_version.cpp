#include "host/game_version.h"

#include <cstring>

namespace plugin {

namespace {

std::uint32_t ReadWord(CodeAddress address) {
    std::uint32_t word = 0;
    std::memcpy(&word, CodePointer(address), sizeof word);
    return word;
}

}  // namespace

unsigned int detect_game_id() {
    for (const BuildSignature& s : kBuildSignatures) {
        if (ReadWord(s.address) == s.word) return s.build;
    }
    return 0;
}

unsigned int GetGameVersion() {
    static const unsigned int id = detect_game_id();
    return id;
}

}  // namespace plugin
