#include "scenario/probe_name.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "scenario/json_path.h"

namespace sandbox {

namespace {

using loader::Quoted;

uint16_t ParseCommandHex(std::string_view hex, std::string_view text, std::string_view form) {
    auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    if (hex.empty() || hex.size() > 4 || !std::all_of(hex.begin(), hex.end(), isHex)) {
        throw std::invalid_argument("expected " + std::string(form) + " with 1 to 4 hex digits, got " +
                                    Quoted(text));
    }
    return static_cast<uint16_t>(std::stoul(std::string(hex), nullptr, 16));
}

// Dot-separated whole numbers, each within [0, limit), as many as `limits` has.
std::vector<int> ParseIndexes(std::string_view parts, const std::vector<int>& limits, std::string_view text,
                              std::string_view form) {
    std::vector<int> numbers;
    for (int limit : limits) {
        const std::size_t dot = parts.find('.');
        const std::string_view part = parts.substr(0, dot);
        const bool digits =
            !part.empty() && part.size() <= 3 &&
            std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
        const int number = digits ? std::stoi(std::string(part)) : -1;
        if (number < 0 || number >= limit ||
            (numbers.size() + 1 < limits.size()) == (dot == std::string_view::npos)) {
            throw std::invalid_argument("expected " + std::string(form) + ", got " + Quoted(text));
        }
        numbers.push_back(number);
        parts = dot == std::string_view::npos ? std::string_view() : parts.substr(dot + 1);
    }
    return numbers;
}

// The colour probes end in ENTRY.CHANNEL: a colour table entry and one of r, g, b, a.
void ParseColourProbe(std::string_view rest, ProbeName& probe, std::string_view text, bool perCall) {
    static constexpr std::string_view kChannels = "rgba";
    const std::string_view form = perCall ? "drawnColour:CALL.ENTRY.r|g|b|a" : "hudColour:ENTRY.r|g|b|a";
    const std::size_t dot = rest.rfind('.');
    const std::size_t channel = dot == std::string_view::npos || rest.size() != dot + 2
                                    ? std::string_view::npos
                                    : kChannels.find(rest[dot + 1]);
    if (channel == std::string_view::npos)
        throw std::invalid_argument("expected " + std::string(form) + ", got " + Quoted(text));
    std::vector<int> limits = {kHudColourTableSize};
    if (perCall) limits.insert(limits.begin(), 256);
    const std::vector<int> numbers = ParseIndexes(rest.substr(0, dot), limits, text, form);
    probe.kind = perCall ? ProbeKind::drawnColour : ProbeKind::hudColour;
    probe.index = perCall ? numbers[0] : 0;
    probe.entry = numbers.back();
    probe.channel = static_cast<int>(channel);
}

// The call probes: HEAD:K.cmd, HEAD:K.arg.N, HEAD:K.argType.N (script commands) or HEAD:K.address,
// HEAD:K.arg.N (host calls), K counted from 0.
void ParseCallProbe(std::string_view head, std::string_view rest, ProbeName& probe, std::string_view text) {
    const bool host = head == "hostCall";
    const std::string form = std::string(head) + (host ? ":K.address|K.arg.N" : ":K.cmd|K.arg.N|K.argType.N");
    const auto fail = [&] { throw std::invalid_argument("expected " + form + ", got " + Quoted(text)); };
    const std::size_t dot = rest.find('.');
    const std::string_view k = rest.substr(0, dot);
    if (dot == std::string_view::npos || k.empty() || k.size() > 6 ||
        !std::all_of(k.begin(), k.end(), [](char c) { return c >= '0' && c <= '9'; }))
        fail();
    probe.kind = host                  ? ProbeKind::hostCall
                 : head == "frameCall" ? ProbeKind::frameCall
                                       : ProbeKind::scriptCall;
    probe.call = std::stoi(std::string(k));
    const std::string_view field = rest.substr(dot + 1);
    const std::size_t argDot = field.find('.');
    const std::string_view name = field.substr(0, argDot);
    if (argDot == std::string_view::npos) {
        if (name != (host ? "address" : "cmd")) fail();
        probe.callField = host ? CallProbeField::address : CallProbeField::command;
        return;
    }
    if (name != "arg" && (host || name != "argType")) fail();
    probe.callField = name == "arg" ? CallProbeField::arg : CallProbeField::argType;
    probe.entry = ParseIndexes(field.substr(argDot + 1), {kMaxScriptArgs}, text, form).front();
}

}  // namespace

ProbeName ParseProbeName(std::string_view text) {
    static const std::vector<std::pair<std::string_view, ProbeKind>> plain = {
        {"pedRange", ProbeKind::pedRange},
        {"starAlpha", ProbeKind::starAlpha},
        {"drawnFontAlpha", ProbeKind::drawnFontAlpha},
        {"starsFlashing", ProbeKind::starsFlashing},
        {"copCarCounter", ProbeKind::copCarCounter},
        {"message", ProbeKind::message},
    };
    static const std::vector<std::pair<std::string_view, PedProbeField>> pedFields = {
        {"suppressed", PedProbeField::suppressed},
        {"criminalHasPlayer", PedProbeField::criminalHasPlayer},
        {"inVehicle", PedProbeField::inVehicle},
        {"x", PedProbeField::x},
        {"y", PedProbeField::y},
        {"z", PedProbeField::z},
        {"health", PedProbeField::health},
        {"criminalSlot", PedProbeField::criminalSlot},
        {"pursuitTask", PedProbeField::pursuitTask},
        {"type", PedProbeField::type},
    };
    static const std::vector<std::pair<std::string_view, VehicleProbeField>> vehicleFields = {
        {"lawEnforcer", VehicleProbeField::lawEnforcer},
        {"mission", VehicleProbeField::mission},
        {"x", VehicleProbeField::x},
        {"y", VehicleProbeField::y},
        {"cruise", VehicleProbeField::cruise},
        {"tempAction", VehicleProbeField::tempAction},
        {"target", VehicleProbeField::target},
    };
    auto lookup = [](const auto& table, std::string_view name) {
        auto it =
            std::find_if(table.begin(), table.end(), [&](const auto& entry) { return entry.first == name; });
        return it == table.end() ? std::nullopt : std::optional(it->second);
    };

    ProbeName probe;
    std::size_t colon = text.find(':');
    std::string_view head = text.substr(0, colon);
    if (colon == std::string_view::npos) {
        if (auto kind = lookup(plain, head)) {
            probe.kind = *kind;
            return probe;
        }
        throw std::invalid_argument(
            "unknown probe " + Quoted(text) +
            " (known: pedRange, starAlpha, drawnFontAlpha, starsFlashing, copCarCounter, "
            "message, scriptCommands:HEX, scriptArg:HEX.N, scriptCall:K.FIELD, frameCall:K.FIELD, "
            "hostCall:K.FIELD, drawnColour:CALL.ENTRY.CHANNEL, hudColour:ENTRY.CHANNEL, ped:ID.FIELD, "
            "vehicle:ID.FIELD)");
    }
    std::string_view rest = text.substr(colon + 1);
    if (head == "scriptCommands") {
        probe.kind = ProbeKind::scriptCommands;
        probe.scriptCommand = ParseCommandHex(rest, text, "scriptCommands:HEX");
        return probe;
    }
    if (head == "scriptArg") {
        const std::size_t dot = rest.find('.');
        probe.kind = ProbeKind::scriptArg;
        probe.scriptCommand = ParseCommandHex(rest.substr(0, dot), text, "scriptArg:HEX.N");
        if (dot == std::string_view::npos)
            throw std::invalid_argument("expected scriptArg:HEX.N, got " + Quoted(text));
        probe.index = ParseIndexes(rest.substr(dot + 1), {kMaxScriptArgs}, text, "scriptArg:HEX.N").front();
        return probe;
    }
    if (head == "scriptCall" || head == "frameCall" || head == "hostCall") {
        ParseCallProbe(head, rest, probe, text);
        return probe;
    }
    if (head == "drawnColour" || head == "hudColour") {
        ParseColourProbe(rest, probe, text, head == "drawnColour");
        return probe;
    }
    if (head != "ped" && head != "vehicle") {
        throw std::invalid_argument("unknown probe " + Quoted(text));
    }
    // Split at the last dot so that ids may contain dots themselves.
    std::size_t dot = rest.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        throw std::invalid_argument("expected " + std::string(head) + ":ID.FIELD, got " + Quoted(text));
    }
    probe.id = std::string(rest.substr(0, dot));
    std::string_view field = rest.substr(dot + 1);
    if (head == "ped") {
        auto found = lookup(pedFields, field);
        if (!found) {
            throw std::invalid_argument("unknown ped field " + Quoted(field) +
                                        " (known: suppressed, criminalHasPlayer, inVehicle, x, y, z, health, "
                                        "criminalSlot, pursuitTask, "
                                        "type)");
        }
        probe.kind = ProbeKind::ped;
        probe.pedField = *found;
    } else {
        auto found = lookup(vehicleFields, field);
        if (!found) {
            throw std::invalid_argument("unknown vehicle field " + Quoted(field) +
                                        " (known: lawEnforcer, mission, x, y, cruise, tempAction, target)");
        }
        probe.kind = ProbeKind::vehicle;
        probe.vehicleField = *found;
    }
    return probe;
}

}  // namespace sandbox
