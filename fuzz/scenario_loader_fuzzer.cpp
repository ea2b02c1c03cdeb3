// The scenario loader over any text. A bad file must end in a ScenarioError naming what is wrong;
// any other exception, or a crash, is a fault. A file that loads must load the same way again.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scenario/scenario_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const sandbox::Scenario first = sandbox::ParseScenario(text, "fuzz.json");
        const sandbox::Scenario second = sandbox::ParseScenario(text, "fuzz.json");
        if (first.events.size() != second.events.size() || first.peds.size() != second.peds.size() ||
            first.durationMs != second.durationMs) {
            std::abort();
        }
    } catch (const sandbox::ScenarioError&) {
    }
    return 0;
}
