#pragma once

struct TickContext;

/// Walks the sighting list in order: vehicle handling, defence, the parked-car hold, the loss test and,
/// for lost cops, their search (foot, car or helicopter). Returns how many listed cops count as lost
/// this tick.
int CopPass(const TickContext& tick);
