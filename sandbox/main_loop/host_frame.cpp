#include "main_loop/host_frame.h"

#include "police/host_police.h"
#include "world/world.h"

namespace sandbox {

HostFrame::HostFrame(const HostRules& rules)
    : pursuit_(rules.pursuit),
      clearing_(rules.pursuit ? rules.wantedClearMs : 0),
      arrest_(rules.pursuit ? rules.arrestMs : 0) {
    if (rules.evade) player_.emplace(*rules.evade);
}

void HostFrame::Run(World& world, std::uint32_t dtMs) {
    world.EndTimedTasks();
    if (pursuit_) {
        RunHostPolice(world, dtMs);
        arrest_.Run(world, dtMs);
        clearing_.Run(world);
    }
    if (player_) player_->Run(world, dtMs);
    world.Move(dtMs);
}

}  // namespace sandbox
