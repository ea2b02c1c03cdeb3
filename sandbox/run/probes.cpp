#include "run/probes.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "host/screen.h"
#include "host/vehicle.h"
#include "world/world.h"

namespace sandbox {

namespace {

// The first criminal-list slot holding the player, or -1.
double CriminalSlot(const Ped& ped, const CPed* player) {
    for (int slot = 0; slot < CPed::kCriminalSlots; ++slot) {
        if (ped.m_apCriminalsToKill[slot] == player) return slot;
    }
    return -1.0;
}

ProbeValue ScriptArgProbe(World& world, const ProbeName& probe) {
    const auto& calls = world.Journal().Calls();
    const auto last = std::find_if(calls.rbegin(), calls.rend(), [&](const ScriptCall& call) {
        return call.command == probe.scriptCommand;
    });
    if (last == calls.rend() || probe.index >= static_cast<int>(last->args.size())) return ProbeAbsent{};
    const ScriptArg& arg = last->args[static_cast<std::size_t>(probe.index)];
    return arg.type == ScriptArg::Type::real ? static_cast<double>(arg.f) : static_cast<double>(arg.i);
}

double Channel(const CRGBA& colour, int channel) {
    const unsigned char values[] = {colour.r, colour.g, colour.b, colour.a};
    return values[channel];
}

ProbeValue DrawnColourProbe(World& world, const ProbeName& probe) {
    const auto& calls = world.Hud().callColours;
    if (probe.index >= static_cast<int>(calls.size())) return ProbeAbsent{};
    return Channel(calls[static_cast<std::size_t>(probe.index)][static_cast<std::size_t>(probe.entry)],
                   probe.channel);
}

ProbeValue PedProbe(World& world, const ProbeName& probe) {
    Ped* ped = world.FindPed(probe.id);
    if (ped == nullptr) return ProbeAbsent{};
    switch (probe.pedField) {
        case PedProbeField::suppressed: return ped->m_nPursuitSuppressed != 0 ? 1.0 : 0.0;
        case PedProbeField::criminalHasPlayer: return ped->HasCriminal(world.Player()) ? 1.0 : 0.0;
        case PedProbeField::inVehicle: return ped->m_bInVehicle ? 1.0 : 0.0;
        case PedProbeField::x: return ped->m_vecPos.x;
        case PedProbeField::y: return ped->m_vecPos.y;
        case PedProbeField::z: return ped->m_vecPos.z;
        case PedProbeField::health: return ped->m_fHealth;
        case PedProbeField::criminalSlot: return CriminalSlot(*ped, world.Player());
        case PedProbeField::pursuitTask: return ped->HasPursuitTask() ? 1.0 : 0.0;
        case PedProbeField::type: return static_cast<double>(ped->m_nPedType);
    }
    return ProbeAbsent{};
}

ProbeValue ArgProbe(const std::vector<ScriptArg>& args, const ProbeName& probe) {
    if (probe.entry >= static_cast<int>(args.size())) return ProbeAbsent{};
    const ScriptArg& arg = args[static_cast<std::size_t>(probe.entry)];
    if (probe.callField == CallProbeField::argType) return static_cast<double>(arg.type);
    return arg.type == ScriptArg::Type::real ? static_cast<double>(arg.f) : static_cast<double>(arg.i);
}

// The K-th script command of the run, or of the frame now running.
ProbeValue ScriptCallProbe(World& world, const ProbeName& probe, bool thisFrame) {
    int left = probe.call;
    for (const ScriptCall& call : world.Journal().Calls()) {
        if (thisFrame && call.time != world.Now()) continue;
        if (left-- > 0) continue;
        if (probe.callField == CallProbeField::command) return static_cast<double>(call.command);
        return ArgProbe(call.args, probe);
    }
    return ProbeAbsent{};
}

ProbeValue HostCallProbe(World& world, const ProbeName& probe) {
    const auto& calls = world.Journal().HostCalls();
    if (probe.call >= static_cast<int>(calls.size())) return ProbeAbsent{};
    const HostCall& call = calls[static_cast<std::size_t>(probe.call)];
    if (probe.callField == CallProbeField::address) return static_cast<double>(call.address);
    if (probe.entry >= static_cast<int>(call.args.size())) return ProbeAbsent{};
    return static_cast<double>(call.args[static_cast<std::size_t>(probe.entry)]);
}

// "x,y,z" to one decimal, or absent while the vehicle drives or flies nowhere.
ProbeValue TargetProbe(const Vehicle& vehicle) {
    if (!vehicle.hasTarget) return ProbeAbsent{};
    char text[64];
    std::snprintf(text, sizeof text, "%.1f,%.1f,%.1f", static_cast<double>(vehicle.target.x),
                  static_cast<double>(vehicle.target.y), static_cast<double>(vehicle.target.z));
    return std::string(text);
}

ProbeValue VehicleProbe(World& world, const ProbeName& probe) {
    Vehicle* vehicle = world.FindVehicle(probe.id);
    if (vehicle == nullptr) return ProbeAbsent{};
    switch (probe.vehicleField) {
        case VehicleProbeField::lawEnforcer: return vehicle->m_bIsLawEnforcer ? 1.0 : 0.0;
        case VehicleProbeField::mission: return static_cast<double>(vehicle->m_autoPilot.m_nCarMission);
        case VehicleProbeField::x: return vehicle->m_vecPos.x;
        case VehicleProbeField::y: return vehicle->m_vecPos.y;
        case VehicleProbeField::cruise: return static_cast<double>(vehicle->m_autoPilot.m_nCruiseSpeed);
        case VehicleProbeField::tempAction: return static_cast<double>(vehicle->m_autoPilot.m_nTempAction);
        case VehicleProbeField::target: return TargetProbe(*vehicle);
    }
    return ProbeAbsent{};
}

}  // namespace

ProbeValue ReadProbe(World& world, const ProbeName& probe) {
    switch (probe.kind) {
        case ProbeKind::pedRange: return TheCamera.m_fPedRangeMultiplier;
        case ProbeKind::starAlpha: return world.Hud().DrawnStarAlpha();
        case ProbeKind::drawnFontAlpha: return world.Hud().drawnFontAlpha;
        case ProbeKind::starsFlashing: return world.Hud().drawnFlashing ? 1.0 : 0.0;
        case ProbeKind::copCarCounter: return static_cast<double>(CCarCtrl::NumLawEnforcerCars);
        case ProbeKind::message: return world.Message();
        case ProbeKind::scriptCommands:
            return static_cast<double>(world.Journal().Count(probe.scriptCommand));
        case ProbeKind::scriptArg: return ScriptArgProbe(world, probe);
        case ProbeKind::drawnColour: return DrawnColourProbe(world, probe);
        case ProbeKind::hudColour: return Channel(HudColour[probe.entry], probe.channel);
        case ProbeKind::ped: return PedProbe(world, probe);
        case ProbeKind::vehicle: return VehicleProbe(world, probe);
        case ProbeKind::scriptCall: return ScriptCallProbe(world, probe, false);
        case ProbeKind::frameCall: return ScriptCallProbe(world, probe, true);
        case ProbeKind::hostCall: return HostCallProbe(world, probe);
    }
    return ProbeAbsent{};
}

}  // namespace sandbox
