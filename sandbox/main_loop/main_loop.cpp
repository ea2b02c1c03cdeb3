#include "main_loop/main_loop.h"

#include "main_loop/host_frame.h"
#include "world/world.h"

namespace sandbox {

MainLoop::MainLoop(World& world, bool hostPursuit) : world_(world), hostPursuit_(hostPursuit) {
    world_.Code().Bind(CodeImage::kFrameProcessing, [this] { RunHostFrame(world_, dtMs_, hostPursuit_); });
}

MainLoop::~MainLoop() { world_.Code().Unbind(CodeImage::kFrameProcessing); }

void MainLoop::RunFrame(std::uint32_t dtMs) {
    dtMs_ = dtMs;
    world_.Code().ExecuteCall(world_.Code().MainLoopCallSite());
    world_.Hud().callColours.clear();
    world_.Code().DrawStars();
}

}  // namespace sandbox
