#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/vec3.h"
#include "town/town.h"
#include "world/world_description.h"

namespace sandbox {

// A scenario as loaded from its JSON file. Everything here has been validated by the loader:
// ids are unique, references resolve, numbers are in range. Times are milliseconds of run time
// (counted from the start of the run) unless named otherwise; headings are degrees as in the file.

inline constexpr int kCriminalListSlots = 5;
inline constexpr int kHudColourTableSize = 15;  // entries of the host's HUD colour table
inline constexpr int kMaxScriptArgs = 16;       // more than any host script command takes

struct FrameTime {
    // A fixed frame time has minMs == maxMs; otherwise each frame draws from [minMs, maxMs].
    uint32_t minMs = 33;
    uint32_t maxMs = 33;

    bool IsFixed() const { return minMs == maxMs; }
};

struct Setting {
    std::string key;
    double value = 0.0;
    bool isInteger = false;  // written without a decimal point
    std::string text;        // the number as it should appear in the INI file
};

/// How long the host leaves a wanted player unpursued before it clears his level, unless the
/// scenario says otherwise (see docs/host-model.md, "The end of a wanted level").
inline constexpr uint32_t kDefaultWantedClearMs = 20000;

struct HostSpec {
    bool pursuit = true;
    uint32_t wantedClearMs = kDefaultWantedClearMs;  // 0: never; only with pursuit
    uint32_t arrestMs = 0;                           // 0: never; only with pursuit
    std::optional<int32_t> copCarCounter;            // empty: the host's own count
};

enum class EventKind {
    playerMove,
    playerWarp,
    playerEnter,
    playerExit,
    playerFire,
    playerDie,
    wanted,
    key,
    spawn,
    remove,
    damage,
    pedMoveTo,
    hostTask,
    hostCriminal,
    hostMission,
    hostLawFlag,
    hostCopCarCounter,
    pedType,
};

// The events that move or act as the player: the ones a user who takes the player over replaces.
inline bool MovesThePlayer(EventKind kind) {
    return kind == EventKind::playerMove || kind == EventKind::playerWarp || kind == EventKind::playerEnter ||
           kind == EventKind::playerExit || kind == EventKind::playerFire;
}

// One flat record for every kind; each kind uses only the fields noted beside them.
struct Event {
    uint32_t atMs = 0;
    EventKind kind = EventKind::playerExit;
    std::size_t sourceIndex = 0;  // position in the file's events list

    std::string id;                // remove, pedMoveTo, hostTask, hostCriminal
    std::string vehicle;           // playerEnter, hostMission, hostLawFlag
    std::string target;            // damage
    std::string source;            // damage
    Vec3 to;                       // playerMove, playerWarp, pedMoveTo
    float speed = 0.0f;            // playerMove, pedMoveTo (m/s)
    std::optional<float> heading;  // playerWarp
    int seat = kDriverSeat;        // playerEnter
    int weapon = 0;                // playerFire
    uint32_t forMs = 0;            // playerFire, key, hostTask (0: until flushed)
    int level = 0;                 // wanted
    std::string key;               // key: canonical name, e.g. "F10"
    int keyCode = 0;               // key: Windows virtual-key code
    // spawn; held apart, as few events spawn and every event would otherwise carry both in full
    std::shared_ptr<const PedSpec> spawnPed;
    std::shared_ptr<const VehicleSpec> spawnVehicle;
    float amount = 0.0f;            // damage
    int task = 0;                   // hostTask
    int slot = -1;                  // hostCriminal: criminal-list slot, -1 = the host's choice
    int mission = 0;                // hostMission
    std::optional<int> tempAction;  // hostMission, when given
    std::optional<int> cruise;      // hostMission, when given
    int pedType = 0;                // pedType
    bool on = false;                // hostLawFlag
    int32_t value = 0;              // hostCopCarCounter
};

enum class ProbeKind {
    pedRange,
    starAlpha,
    drawnFontAlpha,
    starsFlashing,
    copCarCounter,
    message,
    scriptCommands,
    scriptArg,
    drawnColour,
    hudColour,
    ped,
    vehicle,
    scriptCall,  // the K-th script command of the run
    frameCall,   // the K-th script command of the frame the probe is read in
    hostCall,    // the K-th host function the plugin called directly
};
enum class PedProbeField {
    suppressed,
    criminalHasPlayer,
    inVehicle,
    x,
    y,
    z,
    health,
    criminalSlot,
    pursuitTask,
    type
};
enum class VehicleProbeField { lawEnforcer, mission, x, y, cruise, tempAction, target };
enum class CallProbeField { command, arg, argType, address };

struct ProbeName {
    ProbeKind kind = ProbeKind::pedRange;
    std::string id;  // ped, vehicle
    PedProbeField pedField = PedProbeField::x;
    VehicleProbeField vehicleField = VehicleProbeField::x;
    uint16_t scriptCommand = 0;  // scriptCommands, scriptArg
    int index = 0;               // scriptArg: argument; drawnColour: star call of the frame
    int entry = 0;               // drawnColour, hudColour: colour table entry
    int channel = 0;             // drawnColour, hudColour: 0 r, 1 g, 2 b, 3 a
    int call = 0;                // scriptCall, frameCall, hostCall: K, from 0
    CallProbeField callField = CallProbeField::command;  // and `entry` the argument

    bool IsText() const {
        return kind == ProbeKind::message ||
               (kind == ProbeKind::vehicle && vehicleField == VehicleProbeField::target);
    }
};

enum class ExpectKind { log, noLog, logCount, logOrder, probe };

struct Expectation {
    ExpectKind kind = ExpectKind::log;

    // Log forms. One pattern, except logOrder which has them in order. by/after bound the window.
    std::vector<std::string> patterns;
    std::optional<uint32_t> byMs;
    std::optional<uint32_t> afterMs;
    std::optional<uint32_t> minCount;  // logCount
    std::optional<uint32_t> maxCount;  // logCount

    // Probe form: exactly one of eq / eqText / nearValue, or min and/or max.
    uint32_t atMs = 0;
    std::string probeText;
    ProbeName probe;
    std::optional<double> eq;
    std::optional<std::string> eqText;  // text probes
    std::optional<double> min;
    std::optional<double> max;
    std::optional<double> nearValue;  // "near" in the file
    double tol = 0.0;
};

/// A generated town in a scenario, and what the file itself placed before it, which the town's
/// buildings and entities follow in the lists.
struct TownPlan {
    TownLayout layout;
    std::optional<uint32_t> seed;  ///< empty: the run's seed, so each seed of a sweep is another town
    std::size_t ownBoxes = 0;
    std::size_t ownPeds = 0;
    std::size_t ownVehicles = 0;
};

struct Scenario {
    std::string sourceName;  // the file it came from, for messages
    std::string name;        // safe to use as one path component
    std::string description;
    uint32_t seed = 1;
    uint32_t clockStartMs = 0;
    FrameTime frame;
    uint32_t durationMs = 0;
    std::optional<std::vector<Setting>> settings;  // in file order; absent when not given
    std::optional<std::string> ini;                // raw INI text; excludes settings
    WorldSpec world;
    PlayerSpec player;
    std::vector<PedSpec> peds;
    std::vector<VehicleSpec> vehicles;
    HostSpec host;
    std::optional<TownPlan> town;
    std::vector<Event> events;  // in run order: by atMs, file order among equal times
    std::vector<Expectation> expect;
};

}  // namespace sandbox
