#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "code/code_image.h"
#include "geometry/geometry.h"
#include "geometry/sight_queries.h"
#include "host/player.h"
#include "hud/hud.h"
#include "navigation/path_network.h"
#include "pools/ped.h"
#include "pools/pool.h"
#include "pools/pool_sizes.h"
#include "pools/vehicle.h"
#include "world/foot_steps.h"
#include "world/script_journal.h"
#include "world/world_description.h"

namespace sandbox {

using PedPool = Pool<Ped, CPed>;
using VehiclePool = Pool<Vehicle, CVehicle>;

/// Everything the sandbox host simulates. One world is alive at a time, as one host process is:
/// it owns the fixed-address memory that the plugin sees as host objects and code.
class World {
public:
    static constexpr int kPedSlots = kPedPoolSlots;
    static constexpr int kVehicleSlots = kVehiclePoolSlots;
    static constexpr std::uintptr_t kPedPoolAddress = 0x20000000;
    static constexpr std::uintptr_t kVehiclePoolAddress = 0x28000000;

    explicit World(const WorldDescription& description);
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Clock
    std::uint32_t Now() const { return now_; }
    void SetClock(std::uint32_t now);

    // Entities
    PedPool& Peds() { return peds_; }
    VehiclePool& Vehicles() { return vehicles_; }
    Ped* Player() { return player_; }
    CWanted& Wanted() { return wanted_; }
    Ped* FindPed(const std::string& id);
    Vehicle* FindVehicle(const std::string& id);
    Ped* SpawnPed(const PedSpec& setup, bool isPlayer = false);
    Vehicle* SpawnVehicle(const VehicleSpec& setup);
    /// Frees the ped's or vehicle's slot; false when no such id is in a pool.
    bool Remove(const std::string& id);
    void SeatPed(Ped& ped, Vehicle& vehicle, int seat);
    /// Puts the player on the cop's criminal list, in the first free slot, unless he is on it.
    void AddCriminal(Ped& cop);
    /// Lists the player in that criminal-list slot of the cop, if it is free.
    void AddCriminalAt(Ped& cop, int slot);
    /// The player's active weapon stays in the firing state until then.
    void SetFiringUntil(std::uint32_t until) { firingUntil_ = until; }
    void UnseatPed(Ped& ped);
    /// Starts getting him out of his vehicle (task 704 for as long as he or else his vehicle says),
    /// unless an exit is already under way; false when he sits in no vehicle.
    bool StartLeavingVehicle(Ped& ped);

    // Input and screen
    void HoldKey(int virtualKey, std::uint32_t forMs);
    bool KeyDown(int virtualKey) const;
    void ShowMessage(const std::string& text, std::uint32_t forMs);
    /// The message still showing, or empty.
    std::string Message() const;
    /// Message boxes shown (caption: text), for tests and the run's output.
    std::vector<std::string>& MessageBoxes() { return messageBoxes_; }
    /// Script code the host's interpreter refused, with the reason.
    std::vector<std::string>& ScriptErrors() { return scriptErrors_; }

    // Host subsystems
    sandbox::Geometry& Geometry() { return geometry_; }
    const sandbox::Geometry& Geometry() const { return geometry_; }
    CodeImage& Code() { return code_; }
    const sandbox::PathNetwork& PathNetwork() const { return pathNetwork_; }
    sandbox::Hud& Hud() { return hud_; }
    ScriptJournal& Journal() { return journal_; }
    std::mt19937& Random() { return random_; }
    /// The plugin's line-of-sight questions as the host saw them.
    sandbox::SightQueries& SightQueries() { return sightQueries_; }

    // The host's own work for one frame, in the order its frame processing (main_loop/) runs it with
    // the host's police between the two.
    /// Timed tasks and the player's firing end; a ped whose exit ended stands beside his vehicle.
    void EndTimedTasks();
    /// Peds carry on with their activities, vehicles and peds move `dtMs` on.
    void Move(std::uint32_t dtMs);

private:
    void MoveEntities(float dtSeconds);

    std::uint32_t now_ = 0;
    std::uint32_t firingUntil_ = 0;
    PedPool peds_;
    VehiclePool vehicles_;
    Ped* player_ = nullptr;
    CWanted wanted_;
    sandbox::Geometry geometry_;
    FootSteps footSteps_{kPedSlots};
    sandbox::PathNetwork pathNetwork_;
    CodeImage code_;
    sandbox::Hud hud_;
    ScriptJournal journal_;
    std::mt19937 random_;
    sandbox::SightQueries sightQueries_;
    struct HeldKey {
        int key;
        std::uint32_t until;
    };
    std::vector<HeldKey> keys_;
    std::string message_;
    std::vector<std::string> messageBoxes_;
    std::vector<std::string> scriptErrors_;
    std::uint32_t messageUntil_ = 0;
};

}  // namespace sandbox
