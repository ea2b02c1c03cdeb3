#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "world/script_journal.h"

class CRunningScript;

namespace sandbox {

class World;

/// What a command handler gets: the world, its decoded arguments, and the script (for results).
struct ScriptContext {
    World& world;
    const std::vector<ScriptArg>& args;
    CRunningScript& script;

    std::int32_t Int(std::size_t i) const { return args[i].i; }
    float Float(std::size_t i) const { return args[i].f; }
    /// Writes a result into the local variable named by argument i.
    void SetResult(std::size_t i, float value) const;
};

/// A host script command: how many arguments it reads and what it does; returns its condition.
struct ScriptCommand {
    int argCount;
    std::function<bool(const ScriptContext&)> run;
};

/// The commands the sandbox's interpreter knows, by command id.
std::map<std::uint16_t, ScriptCommand>& ScriptCommandTable();

/// Registers a command at static-initialisation time.
struct RegisterScriptCommand {
    RegisterScriptCommand(std::uint16_t id, int argCount, std::function<bool(const ScriptContext&)> run);
};

/// Decodes the command at the script's instruction pointer and runs it on the world: its result
/// goes to the script's condition flag, the call to the journal; code it cannot decode is refused
/// and reported in the world's script errors.
void RunOneCommand(World& world, CRunningScript& script);

}  // namespace sandbox
