#pragma once

#include <cstring>

#include "host/running_script.h"
#include "host/script_code.h"

namespace plugin::scripting {

namespace detail {

/// One private script object per argument shape, as the host runs one command at a time.
template <typename... Args>
CRunningScript& ScriptFor() {
    static CRunningScript script;
    return script;
}

bool RunCommand(CRunningScript& script, ScriptCode& code, unsigned int commandId);

}  // namespace detail

/// Runs one host script command; returns its condition result. Bit 15 of the id negates it.
template <typename... Args>
bool CallCommandById(unsigned int commandId, Args... args) {
    ScriptCode code(static_cast<std::uint16_t>(commandId & 0xFFFFu));
    (code << ... << args);
    return detail::RunCommand(detail::ScriptFor<Args...>(), code, commandId);
}

}  // namespace plugin::scripting
