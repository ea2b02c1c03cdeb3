#include <cstring>

#include "host/scripting.h"

namespace plugin::scripting::detail {

bool RunCommand(CRunningScript& script, ScriptCode& code, unsigned int commandId) {
    // Code cut short by a failed allocation would run as some other command: run nothing.
    if (!code.IsComplete()) return false;
    std::memset(static_cast<void*>(&script), 0, sizeof script);
    script.Init();
    std::memcpy(script.m_szName, "vigilor", sizeof "vigilor");
    script.m_bIsActive = false;
    script.m_bIsMission = false;
    script.m_bNotFlag = (commandId & 0x8000u) != 0;
    auto* ip = const_cast<std::uint8_t*>(code.GetData());
    script.m_pBaseIP = ip;
    script.m_pCurrentIP = ip;
    script.m_pEndIP = ip + code.GetSize();
    script.ProcessOneCommand();
    code.SaveResultVariables(script);
    return script.m_bCondResult;
}

}  // namespace plugin::scripting::detail
