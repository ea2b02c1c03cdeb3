#pragma once

namespace sandbox {

class World;
struct Event;

/// Carries out one scenario event on the world, at the start of its frame.
void ApplyEvent(World& world, const Event& event);

}  // namespace sandbox
