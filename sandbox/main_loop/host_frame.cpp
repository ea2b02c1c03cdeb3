#include "main_loop/host_frame.h"

#include "police/host_police.h"
#include "world/world.h"

namespace sandbox {

void RunHostFrame(World& world, std::uint32_t dtMs, bool hostPursuit) {
    world.EndTimedTasks();
    if (hostPursuit) RunHostPolice(world, dtMs);
    world.Move(dtMs);
}

}  // namespace sandbox
