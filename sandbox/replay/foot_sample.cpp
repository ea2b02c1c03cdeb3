#include "replay/foot_sample.h"

#include <cstdio>

#include "replay/json_text.h"
#include "replay/log_state.h"
#include "world/world.h"

namespace sandbox {

namespace {

constexpr std::uint16_t kFollowPath = 0x05F5;
constexpr std::uint16_t kGoStraight = 0x05D3;
constexpr std::uint16_t kClosestNode = 0x02C0;  // the one command that names no ped

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
        lastOrders_[call.args[0].i] = {call.command, ArgsText(call), runMs, journalSeen_};
        if ((call.command != kFollowPath && call.command != kGoStraight) || call.args.size() < 4) continue;
        orders_[call.args[0].i] = {call.command,
                                   {call.args[1].f, call.args[2].f, call.args[3].f},
                                   runMs,
                                   ArgsText(call),
                                   journalSeen_};
    }
}

const std::string* FootSearchLog::Step(const PointerKey& pedPointer) const {
    if (steps_.empty()) return nullptr;  // asked for every cop in every sample: spare the hashing
    const auto it = steps_.find(pedPointer);
    return it == steps_.end() ? nullptr : &it->second;
}

const FootSearchLog::Command* FootSearchLog::LastCommand(int handle) const {
    const auto it = lastOrders_.find(handle);
    return it == lastOrders_.end() ? nullptr : &it->second;
}

std::string ArgsText(const ScriptCall& call) {
    std::string out = "[";
    for (const ScriptArg& arg : call.args) {
        if (out.size() > 1) out += ',';
        if (arg.type == ScriptArg::Type::real)
            AppendNumber(out, arg.f);
        else
            AppendInt(out, arg.i);
    }
    return out + "]";
}

const FootSearchLog::MoveOrder* FootSearchLog::Order(int handle) const {
    const auto it = orders_.find(handle);
    return it == orders_.end() ? nullptr : &it->second;
}

const FootSearchLog::MoveOrder* FootSearchLog::Order(int handle, Lookup& lookup) const {
    if (lookup.order == nullptr && lookup.ordersSeen != orders_.size()) {
        lookup.order = Order(handle);
        lookup.ordersSeen = orders_.size();
    }
    return lookup.order;
}

const FootSearchLog::Command* FootSearchLog::LastCommand(int handle, Lookup& lookup) const {
    if (lookup.last == nullptr && lookup.lastsSeen != lastOrders_.size()) {
        lookup.last = LastCommand(handle);
        lookup.lastsSeen = lastOrders_.size();
    }
    return lookup.last;
}

}  // namespace sandbox
