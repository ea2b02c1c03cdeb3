#pragma once

// The host's input and desktop as the plugin's key-state and message-box calls reach them.

namespace sandbox {

/// Bit 15 set while the key is down in the active world's input; 0 without a world.
short HostKeyState(int virtualKey);

/// Records the box in the active world (shown to no one) and answers OK.
int HostMessageBox(const char* text, const char* caption);

}  // namespace sandbox
