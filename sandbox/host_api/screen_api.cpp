// Host screen, input and desktop services.

#include "host/screen.h"
#include "host/win32/windows.h"
#include "world/world.h"

void CMessages::AddMessageJumpQ(const char* text, unsigned int timeMs, unsigned short, bool) {
    sandbox::World::Active().ShowMessage(text != nullptr ? text : "", timeMs);
}

short GetAsyncKeyState(int virtualKey) {
    if (!sandbox::World::HasActive()) return 0;
    return sandbox::World::Active().KeyDown(virtualKey) ? static_cast<short>(0x8000) : 0;
}

int MessageBoxA(void*, const char* text, const char* caption, unsigned int) {
    if (sandbox::World::HasActive()) {
        sandbox::World::Active().MessageBoxes().push_back(std::string(caption ? caption : "") + ": " +
                                                          (text ? text : ""));
    }
    return 1;
}
