#include "main_loop/main_loop.h"

#include "main_loop/host_frame.h"
#include "world/world.h"

namespace sandbox {

MainLoop::MainLoop(World& world, const HostRules& rules) : world_(world), frame_(rules) {
    world_.Code().Bind(CodeImage::kFrameProcessing, [this] { frame_.Run(world_, dtMs_); });
}

MainLoop::~MainLoop() { world_.Code().Unbind(CodeImage::kFrameProcessing); }

void MainLoop::RunFrame(std::uint32_t dtMs) {
    dtMs_ = dtMs;
    world_.Code().ExecuteCall(world_.Code().MainLoopCallSite());
    world_.Hud().callColours.clear();
    world_.Code().DrawStars();
}

}  // namespace sandbox
