#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/vec3.h"
#include "host/ped.h"

namespace sandbox {

struct Vehicle;

/// A task the host runs on a ped; the plugin sees only its type.
struct ActiveTask {
    int type = 0;
    std::uint32_t until = 0;  ///< host ms when it ends by itself; 0 = until flushed
};

/// How a ped is moving this frame, if at all.
struct MoveOrder {
    std::vector<Vec3> waypoints;  ///< visited in order; the last is the destination
    float speed = 0.0f;           ///< m/s
    std::uint32_t until = 0;      ///< host ms when the order lapses; 0 = never
    bool hostChase = false;       ///< given by the host's own police logic, which may replace it
    bool routed = false;          ///< host chase: along the path network, planned to `goal`
    bool evade = false;           ///< given by the player's own behaviour, which may replace it
    Vec3 goal;                    ///< routed chase: where the player was when it was planned
};

/// What a ped is busy with besides walking, by the host's orders.
struct Activity {
    enum class Kind { none, lookAbout, aim, attack };
    Kind kind = Kind::none;
    std::uint32_t until = 0;  ///< host ms when it ends; 0 = until flushed
    Vec3 point;               ///< aim: where he points his weapon
    int targetHandle = -1;    ///< attack: the ped he attacks
};

/// A ped of the sandbox host. Its host-visible fields live in the CPed base.
struct Ped : CPlayerPed {
    explicit Ped(std::string id);
    Ped(const Ped&) = delete;
    Ped& operator=(const Ped&) = delete;

    std::string id;  ///< scenario id
    int seat = -1;   ///< -1 driver, 0..7 passenger, when in a vehicle
    CPedIntelligence intelligence;
    std::vector<ActiveTask> tasks;
    MoveOrder move;
    bool moving = false;
    int moveState = 0;  ///< host move state of the current order (4 walk ... 7 sprint)
    Activity activity;
    int nextCriminalSlot = 0;          ///< where the host starts looking for a free criminal-list slot
    std::uint32_t leaveVehicleMs = 0;  ///< how long getting out takes him; 0 = as his vehicle says
    float runSpeed = 5.0f;             ///< m/s when the host's police logic has him run after someone

    Vec3 Position() const { return {m_vecPos.x, m_vecPos.y, m_vecPos.z}; }
    void SetPosition(Vec3 p) { m_vecPos = {p.x, p.y, p.z}; }
    /// The criminal list, as the host keeps it: the peds this cop is after, five slots.
    bool HasCriminal(const CPed* criminal) const;
    /// Puts him in a free slot unless he is listed already; false when the list is full. The host
    /// takes the slots in turn: the first free one after the slot it filled last.
    bool AddCriminal(CPed* criminal);
    /// Puts him in that slot (0..4) unless he is listed already; false when it holds someone else.
    bool AddCriminalAt(CPed* criminal, int slot);
    void DropCriminal(const CPed* criminal);
    bool HasTask(int type) const;
    /// He carries one of the host's pursuit tasks.
    bool HasPursuitTask() const;
    void AddTask(int type, std::uint32_t until);
    void RemoveTask(int type);
};

}  // namespace sandbox
