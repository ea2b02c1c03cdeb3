#include "world/host_world.h"

#include <stdexcept>

namespace sandbox {

namespace {
World* hostWorld = nullptr;
}  // namespace

World& HostWorld() {
    if (hostWorld == nullptr) throw std::logic_error("no sandbox world is alive");
    return *hostWorld;
}

World* HostWorldIfAlive() { return hostWorld; }

void AttachHostWorld(World* world) {
    if (world != nullptr && hostWorld != nullptr)
        throw std::runtime_error("a sandbox world is already alive");
    hostWorld = world;
}

}  // namespace sandbox
