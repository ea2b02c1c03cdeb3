#include "play/saved_play.h"

#include <nlohmann/json.hpp>

#include "files/json_out.h"
#include "scenario/entity_section.h"

namespace sandbox {

namespace {

nlohmann::ordered_json Point(Vec3 p) { return {p.x, p.y, p.z}; }

nlohmann::ordered_json EventJson(const Event& e) {
    nlohmann::ordered_json out = {{"at", e.atMs}};
    switch (e.kind) {
        case EventKind::playerMove:
            out["do"] = "playerMove";
            out["to"] = Point(e.to);
            out["speed"] = e.speed;
            break;
        case EventKind::playerEnter:
            out["do"] = "playerEnter";
            out["vehicle"] = e.vehicle;
            break;
        case EventKind::playerExit: out["do"] = "playerExit"; break;
        case EventKind::playerFire:
            out["do"] = "playerFire";
            out["weapon"] = e.weapon;
            out["forMs"] = e.forMs;
            break;
        case EventKind::key:
            out["do"] = "key";
            out["key"] = e.key;
            out["forMs"] = e.forMs;
            break;
        default: throw std::logic_error("a play makes only player and key events");
    }
    return out;
}

}  // namespace

std::string SavedPlayText(const std::string& sourceText, const Scenario& scenario,
                          const std::optional<std::string>& iniText, const std::vector<Event>& moves,
                          std::uint32_t playedMs, std::optional<std::uint32_t> takeoverMs) {
    nlohmann::ordered_json file = nlohmann::ordered_json::parse(sourceText);
    file["name"] = scenario.name + "-played";
    file["description"] = "played live from " + scenario.name;
    file["seed"] = scenario.seed;
    file["durationMs"] = playedMs;
    const FrameTime& frame = scenario.frame;
    file["frameMs"] = frame.IsFixed() ? nlohmann::ordered_json(frame.minMs)
                                      : nlohmann::ordered_json::array({frame.minMs, frame.maxMs});
    file.erase("settings");
    file.erase("ini");
    file.erase("expect");
    // The user played the player: a behaviour of his own would replay differently.
    if (file.contains("player") && file["player"].is_object()) {
        for (std::string_view key : loader::kBehaviourKeys) file["player"].erase(std::string(key));
    }
    if (iniText) file["ini"] = *iniText;
    nlohmann::ordered_json& events = file["events"];
    if (!events.is_array()) events = nlohmann::ordered_json::array();
    if (takeoverMs) {
        // The scenario's events as loaded know where they stood in the file.
        std::vector<bool> replaced(events.size(), false);
        for (const Event& e : scenario.events) {
            if (MovesThePlayer(e.kind) && e.atMs >= *takeoverMs && e.sourceIndex < replaced.size())
                replaced[e.sourceIndex] = true;
        }
        nlohmann::ordered_json kept = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < events.size(); ++i) {
            if (!replaced[i]) kept.push_back(std::move(events[i]));
        }
        events = std::move(kept);
    }
    for (const Event& e : moves) events.push_back(EventJson(e));
    return JsonText(file, 2) + "\n";
}

}  // namespace sandbox
