#pragma once

#include <cstddef>
#include <string>

#include "sweep/sweep_definition.h"

namespace sandbox {

/// Whether run `index` is among the first `perVariant` seeds of its scenario and variant, whose
/// replay pages a sweep with --replays writes.
bool WantsReplay(const SweepDefinition& definition, std::size_t index, std::size_t perVariant);

/// Where run `index`'s replay page goes in the sweep's folder, relative to it (and so to the report):
/// "replays/1-demo/2-PursuitGraceMs=1500/seed-7.html". The numbers (1 for the first scenario, 1 for
/// base) keep two scenarios or variants of the same name apart; anything in a name but letters,
/// digits and "=,.-_" is written as "_".
std::string ReplayLink(const SweepDefinition& definition, std::size_t index);

}  // namespace sandbox
