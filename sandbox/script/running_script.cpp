// The host's script interpreter: decodes one command of bytecode and runs it on the world.

#include <cstdio>
#include <cstring>
#include <string>

#include "host/running_script.h"
#include "script/script_commands.h"
#include "world/world.h"

namespace sandbox {

void ScriptContext::SetResult(std::size_t i, float value) const {
    if (i < args.size() && args[i].type == ScriptArg::Type::localVar && args[i].i >= 0 &&
        args[i].i < CRunningScript::kLocalVars) {
        script.m_aLocalVars[args[i].i].fParam = value;
    }
}

std::map<std::uint16_t, ScriptCommand>& ScriptCommandTable() {
    static std::map<std::uint16_t, ScriptCommand> table;
    return table;
}

RegisterScriptCommand::RegisterScriptCommand(std::uint16_t id, int argCount,
                                             std::function<bool(const ScriptContext&)> run) {
    ScriptCommandTable()[id] = {argCount, std::move(run)};
}

namespace {

constexpr std::uint8_t kTypeInt = 1;
constexpr std::uint8_t kTypeLocalVar = 3;
constexpr std::uint8_t kTypeFloat = 6;

// Reads the code between the script's instruction pointer and its end, never past it.
class CodeReader {
public:
    explicit CodeReader(CRunningScript& script) : script_(script) {}

    template <typename T>
    bool Read(T& value) {
        if (script_.m_pCurrentIP == nullptr ||
            script_.m_pEndIP - script_.m_pCurrentIP < std::ptrdiff_t{sizeof(T)}) {
            return false;
        }
        std::memcpy(&value, script_.m_pCurrentIP, sizeof(T));
        script_.m_pCurrentIP += sizeof(T);
        return true;
    }

private:
    CRunningScript& script_;
};

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

bool Decode(CRunningScript& script, ScriptCall& call, const ScriptCommand*& command, std::string& error) {
    CodeReader reader(script);
    std::uint16_t word = 0;
    if (!reader.Read(word)) {
        error = "no command word";
        return false;
    }
    call.command = static_cast<std::uint16_t>(word & 0x7FFFu);
    call.negated = (word & 0x8000u) != 0 || script.m_bNotFlag;
    auto it = ScriptCommandTable().find(call.command);
    if (it == ScriptCommandTable().end()) {
        error = "unknown command " + Hex(call.command);
        return false;
    }
    command = &it->second;
    for (int n = 0; n < command->argCount; ++n) {
        std::uint8_t type = 0;
        ScriptArg arg{ScriptArg::Type::integer};
        bool ok = reader.Read(type);
        if (ok && type == kTypeInt) {
            ok = reader.Read(arg.i);
        } else if (ok && type == kTypeFloat) {
            arg.type = ScriptArg::Type::real;
            ok = reader.Read(arg.f);
        } else if (ok && type == kTypeLocalVar) {
            std::uint16_t index = 0;
            arg.type = ScriptArg::Type::localVar;
            ok = reader.Read(index) && index < CRunningScript::kLocalVars;
            arg.i = index;
        } else {
            ok = false;
        }
        if (!ok) {
            error = "command " + Hex(call.command) + ": argument " + std::to_string(n + 1) + " is malformed";
            return false;
        }
        call.args.push_back(arg);
    }
    // More arguments than the command takes: the plugin and the host disagree about it.
    if (script.m_pCurrentIP != script.m_pEndIP) {
        error = "command " + Hex(call.command) + ": " +
                std::to_string(script.m_pEndIP - script.m_pCurrentIP) + " bytes after its last argument";
        return false;
    }
    return true;
}

}  // namespace

void RunOneCommand(World& world, CRunningScript& script) {
    ScriptCall call;
    call.time = world.Now();
    const ScriptCommand* command = nullptr;
    std::string error;
    if (!Decode(script, call, command, error)) {
        world.ScriptErrors().push_back(error);
        script.m_bCondResult = false;
        return;
    }
    const bool result = command->run(ScriptContext{world, call.args, script});
    script.m_bCondResult = result != call.negated;
    world.Journal().Record(std::move(call));
}

}  // namespace sandbox

void CRunningScript::Init() {
    m_bIsActive = true;
    m_bCondResult = false;
    m_bNotFlag = false;
}
