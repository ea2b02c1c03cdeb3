// The host's script interpreter as the plugin calls it.

#include "host/running_script.h"
#include "host_api/host_world.h"
#include "script/script_commands.h"

char CRunningScript::ProcessOneCommand() {
    sandbox::RunOneCommand(sandbox::HostWorld(), *this);
    return 0;
}
