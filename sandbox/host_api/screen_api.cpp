// Host screen, input and desktop services.

#include "host/screen.h"
#include "host/win32/windows.h"
#include "host_api/desktop.h"
#include "world/host_world.h"
#include "world/world.h"

void CMessages::AddMessageJumpQ(const char* text, unsigned int timeMs, unsigned short, bool) {
    sandbox::HostWorld().ShowMessage(text != nullptr ? text : "", timeMs);
}

namespace sandbox {

short HostKeyState(int virtualKey) {
    const World* world = HostWorldIfAlive();
    return world != nullptr && world->KeyDown(virtualKey) ? static_cast<short>(0x8000) : 0;
}

int HostMessageBox(const char* text, const char* caption) {
    if (World* world = HostWorldIfAlive()) {
        world->MessageBoxes().push_back(std::string(caption ? caption : "") + ": " + (text ? text : ""));
    }
    return 1;
}

}  // namespace sandbox

#ifndef _WIN32
// On Windows the module calls the system's own; the loader points those imports here instead.
short GetAsyncKeyState(int virtualKey) { return sandbox::HostKeyState(virtualKey); }

int MessageBoxA(void*, const char* text, const char* caption, unsigned int) {
    return sandbox::HostMessageBox(text, caption);
}
#endif
