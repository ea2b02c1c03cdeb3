#pragma once

#include <cstdint>

#include "main_loop/host_frame.h"

namespace sandbox {

class World;

/// The host's main loop over one world. Each frame it executes the call instruction at the main
/// loop's call site, which reaches the host's frame processing (bound at its code address while the
/// loop lives) and, once a plugin has hooked that call, the plugin after it; then the HUD executes
/// its star-drawing calls. The world must outlive the loop.
class MainLoop {
public:
    MainLoop(World& world, const HostRules& rules);
    ~MainLoop();
    MainLoop(const MainLoop&) = delete;
    MainLoop& operator=(const MainLoop&) = delete;

    /// One frame `dtMs` after the last; the world's clock already shows the frame's time.
    void RunFrame(std::uint32_t dtMs);
    /// Whether the host has cleared the wanted level by its own rule so far.
    bool WantedCleared() const { return frame_.WantedCleared(); }
    bool Arrested() const { return frame_.Arrested(); }

private:
    World& world_;
    HostFrame frame_;
    std::uint32_t dtMs_ = 0;  ///< the frame's length, for the frame processing the call reaches
};

}  // namespace sandbox
