#include "sweep/sweep_replays.h"

#include <cctype>

namespace sandbox {

namespace {

// A name as part of one folder name on every system: no separators, nothing a shell or a link would
// need quoted.
std::string FolderName(const std::string& name) {
    std::string safe;
    for (unsigned char c : name)
        safe +=
            std::isalnum(c) || std::string("=,.-_").find(c) != std::string::npos ? static_cast<char>(c) : '_';
    return safe;
}

}  // namespace

bool WantsReplay(const SweepDefinition& definition, std::size_t index, std::size_t perVariant) {
    return PlaceOf(definition, index).seed < perVariant;
}

std::string ReplayLink(const SweepDefinition& definition, std::size_t index) {
    const RunPlace at = PlaceOf(definition, index);
    return "replays/" + std::to_string(at.scenario + 1) + "-" +
           FolderName(definition.scenarios[at.scenario].name) + "/" + std::to_string(at.variant + 1) + "-" +
           FolderName(definition.variants[at.variant].name) + "/seed-" +
           std::to_string(definition.seeds[at.seed]) + ".html";
}

}  // namespace sandbox
