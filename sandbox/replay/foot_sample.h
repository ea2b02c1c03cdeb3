#pragma once

#include <cstdint>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "world/vec3.h"

namespace sandbox {

class World;
struct Ped;
class LogState;

/// What the host can tell of the cops' foot searches without looking inside the plugin: the step
/// each cop was last given (from the log), the target of his last move order (from the script
/// journal), and the shots the police heard (from the log).
class FootSearchLog {
public:
    /// Reads one log line written at run time `runMs`.
    void Read(const std::string& line, std::uint32_t runMs);
    /// Takes the move orders the host ran since the last call.
    void NoteOrders(World& world, std::uint32_t runMs);
    /// The search part of a cop's sample: his step, its target and the point he searches around.
    nlohmann::json CopSearch(World& world, const Ped& ped, const std::string& pointer,
                             const LogState& state) const;
    /// The last script command that named this ped first, with all its arguments; null when none.
    nlohmann::json LastOrder(World& world, const Ped& ped) const;
    /// Every shot heard so far: time, weapon, range and where the scene moved.
    const nlohmann::json& Shots() const { return shots_; }

    /// The step a log line starts for the cop it names, or empty when it names none.
    static std::string StepOf(const std::string& line);

private:
    struct Order {
        std::uint16_t command;
        nlohmann::json args;
        std::uint32_t runMs;
    };
    struct MoveOrder {
        std::uint16_t command;
        Vec3 target;
        std::uint32_t runMs;
        nlohmann::json args;
    };
    std::map<std::string, std::string> steps_;  ///< by "%p" text of the cop
    std::map<int, MoveOrder> orders_;           ///< by ped handle
    std::map<int, Order> lastOrders_;           ///< by ped handle
    std::size_t journalSeen_ = 0;
    nlohmann::json shots_ = nlohmann::json::array();
};

}  // namespace sandbox
