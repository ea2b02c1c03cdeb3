#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "geometry/vec3.h"
#include "replay/pointer_key.h"

namespace sandbox {

class World;
struct ScriptCall;

/// What the host can tell of the cops' foot searches without looking inside the plugin: the step
/// each cop was last given (from the log), the target of his last move order (from the script
/// journal), and the shots the police heard (from the log).
class FootSearchLog {
public:
    /// Reads one log line written at run time `runMs`.
    void Read(const std::string& line, std::uint32_t runMs);
    /// Takes the move orders the host ran since the last call.
    void NoteOrders(World& world, std::uint32_t runMs);
    struct MoveOrder {
        std::uint16_t command;
        Vec3 target;
        std::uint32_t runMs;
        std::string args;    ///< every argument, as a JSON array
        std::size_t serial;  ///< its place in the script journal: tells one order from the next
    };
    struct Command {
        std::uint16_t command;
        std::string args;  ///< every argument, as a JSON array
        std::uint32_t runMs;
        std::size_t serial;  ///< its place in the script journal
    };
    /// The step the log last gave the cop, or null.
    const std::string* Step(const PointerKey& pedPointer) const;
    /// The last move order the host ran for the ped with this handle, or null.
    const MoveOrder* Order(int handle) const;
    /// The last script command that named this ped first, or null.
    const Command* LastCommand(int handle) const;
    /// One ped's entries kept from sample to sample. Entries are never removed and are updated in
    /// place, so one found stays his; one not found is looked for again only once its table grew.
    struct Lookup {
        const MoveOrder* order = nullptr;
        const Command* last = nullptr;
        std::size_t ordersSeen = ~std::size_t{0};
        std::size_t lastsSeen = ~std::size_t{0};
    };
    /// Order() and LastCommand() for a ped asked about in every sample.
    const MoveOrder* Order(int handle, Lookup& lookup) const;
    const Command* LastCommand(int handle, Lookup& lookup) const;
    /// Every shot heard so far: time, weapon, range and where the scene moved.
    const nlohmann::json& Shots() const { return shots_; }

    /// The step a log line starts for the cop it names, or empty when it names none.
    static std::string StepOf(const std::string& line);

private:
    ByPointer<std::string> steps_;       ///< by "%p" text of the cop
    std::map<int, MoveOrder> orders_;    ///< by ped handle
    std::map<int, Command> lastOrders_;  ///< by ped handle
    std::size_t journalSeen_ = 0;
    nlohmann::json shots_ = nlohmann::json::array();
};

/// The arguments of a script command as a JSON array: [a, b, ...].
std::string ArgsText(const ScriptCall& call);

}  // namespace sandbox
