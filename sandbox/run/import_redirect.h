#pragma once

// Windows only: a loaded module's calls of the system's key state and message box are pointed at
// the sandbox's input and desktop, so that a scenario's F10 presses reach it and no box pops up.

#ifdef _WIN32

#include "host/win32/windows.h"

namespace sandbox {

/// Rewrites the module's import slots for user32's GetAsyncKeyState and MessageBoxA. Returns how
/// many slots it rewrote.
int RedirectDesktopImports(HMODULE module);

}  // namespace sandbox

#endif
