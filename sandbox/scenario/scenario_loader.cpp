// The scenario file as a whole: the sections read in the order their checks need, and the
// errors of every section turned into ScenarioError with the file's name.

#include "scenario/scenario_loader.h"

#include <fstream>
#include <system_error>

#include "scenario/entity_section.h"
#include "scenario/event_section.h"
#include "scenario/expectation_section.h"
#include "scenario/fields.h"
#include "scenario/id_registry.h"
#include "scenario/json_text.h"
#include "scenario/run_section.h"
#include "scenario/settings_section.h"
#include "scenario/town_section.h"
#include "scenario/world_section.h"

namespace sandbox {

ScenarioError::ScenarioError(const std::string& source, const std::string& jsonPath,
                             const std::string& problem)
    : std::runtime_error(source + ": " + (jsonPath.empty() ? "" : jsonPath + ": ") + problem),
      jsonPath_(jsonPath) {}

namespace {

using namespace loader;

Scenario Load(const Json& root, std::string_view sourceName) {
    Fields f(root, "");
    f.Allow({"name", "description", "seed", "clockStartMs", "frameMs", "durationMs", "settings", "ini",
             "world", "player", "peds", "vehicles", "host", "events", "expect"});
    Scenario scenario;
    ReadRunFields(f, sourceName, scenario);
    ReadSettingsSection(f, scenario);
    IdRegistry ids;
    ids.Declare(std::string(kPlayerId), ObjectKind::player, "player");
    if (const Json* world = f.Optional("world")) {
        Fields w(*world, "world");
        scenario.world = ReadWorld(w, ids);
        if (const Json* town = w.Optional("town")) scenario.town = ReadTown(Fields(*town, "world.town"));
    }
    ReadStartEntities(f, ids, scenario);
    if (scenario.town && f.Required("player").contains("pos")) {
        Fail("player.pos", "a town puts the player at its middle crossing");
    }
    PlaceTownAtLoad(scenario, ids);
    if (const Json* host = f.Optional("host")) {
        scenario.host = ReadHost(Fields(*host, "host"));
    }
    // Events may declare ids that expectations probe, so they come first.
    if (const Json* events = f.Optional("events")) {
        scenario.events = ReadEvents(*events, "events", scenario, ids);
    }
    if (const Json* expect = f.Optional("expect")) {
        ForEachElement(*expect, "expect", [&](const Json& value, const std::string& path) {
            scenario.expect.push_back(ReadExpectation(value, path, ids));
        });
    }
    // The node grid covers everything the scenario places or sends somewhere, events included.
    CheckNodeGrid(scenario);
    return scenario;
}

}  // namespace

Scenario ParseScenario(std::string_view jsonText, std::string_view sourceName) {
    const std::string source(sourceName);
    try {
        Json root;
        try {
            root = ParseJsonText(jsonText);
        } catch (const nlohmann::json::exception& error) {
            throw ScenarioError(source, "", "invalid JSON: " + LibraryMessage(error));
        }
        return Load(root, sourceName);
    } catch (const PathError& error) {
        throw ScenarioError(source, error.path, error.problem);
    } catch (const nlohmann::json::exception& error) {
        // Not expected once the readers have checked types, but a bad file must never escape as a crash.
        throw ScenarioError(source, "", LibraryMessage(error));
    }
}

Scenario LoadScenarioFile(const std::filesystem::path& path, std::size_t maxBytes) {
    const std::string tooLarge =
        "larger than the limit of " + std::to_string(maxBytes) + " bytes for a scenario file";
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        throw ScenarioError(path.string(), "", "is a folder, not a scenario file");
    }
    if (std::filesystem::is_regular_file(path, ignored) &&
        std::filesystem::file_size(path, ignored) > maxBytes && !ignored) {
        throw ScenarioError(path.string(), "", tooLarge);
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw ScenarioError(path.string(), "", "cannot open the file");
    }
    // Read in pieces and stop past the limit: a device such as /dev/zero never ends.
    std::string text;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (text.size() > maxBytes) {
            throw ScenarioError(path.string(), "", tooLarge);
        }
    }
    if (in.bad()) {
        throw ScenarioError(path.string(), "", "cannot read the file");
    }
    return ParseScenario(text, path.string());
}

}  // namespace sandbox
