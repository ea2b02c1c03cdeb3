#pragma once

namespace sandbox {

class World;

// The host functions the plugin calls carry no world: a host process has only one. These are the
// one way to reach it, for the files of host_api/ only; the rest of the sandbox is handed its world.

/// The world the host functions answer for; throws std::logic_error when none is alive.
World& HostWorld();

/// The same, or null while no world is alive.
World* HostWorldIfAlive();

/// Makes `world` the one the host functions answer for (null: none); a world's constructor and
/// destructor call it. Throws std::runtime_error when another world is still alive.
void AttachHostWorld(World* world);

}  // namespace sandbox
