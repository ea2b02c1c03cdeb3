#pragma once

#include "scenario/expectations.h"

namespace sandbox {

class World;

/// The probe's value in the world as it stands.
ProbeValue ReadProbe(World& world, const ProbeName& probe);

}  // namespace sandbox
