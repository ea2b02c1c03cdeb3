#pragma once

#include <cstdint>

namespace sandbox {

class World;

/// The host's main loop over one world. Each frame it executes the call instruction at the main
/// loop's call site, which reaches the host's frame processing (bound at its code address while the
/// loop lives) and, once a plugin has hooked that call, the plugin after it; then the HUD executes
/// its star-drawing calls. The world must outlive the loop.
class MainLoop {
public:
    /// `hostPursuit`: whether the host's own police chase the wanted player.
    MainLoop(World& world, bool hostPursuit);
    ~MainLoop();
    MainLoop(const MainLoop&) = delete;
    MainLoop& operator=(const MainLoop&) = delete;

    /// One frame `dtMs` after the last; the world's clock already shows the frame's time.
    void RunFrame(std::uint32_t dtMs);

private:
    World& world_;
    bool hostPursuit_;
    std::uint32_t dtMs_ = 0;  ///< the frame's length, for the frame processing the call reaches
};

}  // namespace sandbox
