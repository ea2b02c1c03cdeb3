// The host's script interpreter as the plugin calls it.

#include "host/running_script.h"
#include "script/script_commands.h"
#include "world/host_world.h"

char CRunningScript::ProcessOneCommand() {
    sandbox::RunOneCommand(sandbox::HostWorld(), *this);
    return 0;
}
