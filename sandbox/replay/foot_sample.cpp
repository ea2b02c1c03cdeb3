#include "replay/foot_sample.h"

#include <cstdio>

#include "replay/log_state.h"
#include "replay/replay_json.h"
#include "world/world.h"

namespace sandbox {

namespace {

constexpr std::uint16_t kFollowPath = 0x05F5;
constexpr std::uint16_t kGoStraight = 0x05D3;
constexpr std::uint16_t kClosestNode = 0x02C0;  // the one command that names no ped

std::string CommandHex(std::uint16_t command) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", command);
    return text;
}

nlohmann::json ArgsOf(const ScriptCall& call) {
    nlohmann::json args = nlohmann::json::array();
    for (const ScriptArg& arg : call.args) {
        if (arg.type == ScriptArg::Type::real) {
            args.push_back(arg.f);
        } else {
            args.push_back(arg.i);
        }
    }
    return args;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// Log lines that give a cop a step, or take it from him, by their first words.
struct StepLine {
    const char* prefix;
    const char* step;
};
constexpr StepLine kStepLines[] = {
    {"traveling to the scene: ", "travel"},
    {"sweeping: ", "sweep"},
    {"looking about: ", "lookAbout"},
    {"aim scan: ", "aimScan"},
    {"defend: attacking: ", "defending"},
    {"pursuit task flushed: ", "none"},
    {"watchdog: ", "none"},
    {"defend: finished: ", "none"},
    {"cop is chasing again: ", ""},
};

}  // namespace

std::string FootSearchLog::StepOf(const std::string& line) {
    for (const StepLine& s : kStepLines) {
        if (StartsWith(line, s.prefix)) return s.step;
    }
    return "?";
}

void FootSearchLog::Read(const std::string& line, std::uint32_t runMs) {
    if (line == "wanted level ended" || line == "reset: flags restored" || line == "F10: enabled=0") {
        steps_.clear();
        return;
    }
    unsigned weapon = 0;
    float range = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    if (std::sscanf(line.c_str(), "gunshot heard: weapon=%u range=%f scene moved to %f,%f", &weapon, &range,
                    &x, &y) == 4) {
        shots_.push_back({{"t", runMs}, {"weapon", weapon}, {"range", range}, {"scene", {x, y}}});
        return;
    }
    const std::string step = StepOf(line);
    const std::string ped = PedPointerIn(line);
    if (step == "?" || ped.empty()) return;
    if (step.empty()) {
        steps_.erase(ped);
    } else {
        steps_[ped] = step;
    }
}

void FootSearchLog::NoteOrders(World& world, std::uint32_t runMs) {
    const auto& calls = world.Journal().Calls();
    for (; journalSeen_ < calls.size(); ++journalSeen_) {
        const ScriptCall& call = calls[journalSeen_];
        if (call.command == kClosestNode || call.args.empty()) continue;
        lastOrders_[call.args[0].i] = {call.command, ArgsOf(call), runMs};
        if ((call.command != kFollowPath && call.command != kGoStraight) || call.args.size() < 4) continue;
        orders_[call.args[0].i] = {
            call.command, {call.args[1].f, call.args[2].f, call.args[3].f}, runMs, ArgsOf(call)};
    }
}

nlohmann::json FootSearchLog::CopSearch(World& world, const Ped& ped, const std::string& pointer,
                                        const LogState& state) const {
    const auto step = steps_.find(pointer);
    if (step == steps_.end()) return nullptr;
    nlohmann::json search = {
        {"step", step->second},
        {"searchTarget", state.sceneValid ? Point(state.scene) : nlohmann::json(nullptr)}};
    const auto order = orders_.find(world.Peds().HandleOf(&ped));
    if (order != orders_.end()) {
        search["moveOrder"] = {{"command", CommandHex(order->second.command)},
                               {"target", Point(order->second.target)},
                               {"t", order->second.runMs},
                               {"args", order->second.args}};
        if (step->second == "travel" || step->second == "sweep")
            search["stepTarget"] = Point(order->second.target);
    }
    return search;
}

nlohmann::json FootSearchLog::LastOrder(World& world, const Ped& ped) const {
    const auto order = lastOrders_.find(world.Peds().HandleOf(&ped));
    if (order == lastOrders_.end()) return nullptr;
    return {{"command", CommandHex(order->second.command)},
            {"args", order->second.args},
            {"t", order->second.runMs}};
}

}  // namespace sandbox
