#pragma once

struct TickContext;

/// Cops near a seeing cop hear where the player is; one hop, no relaying within the tick. Runs after
/// the seeing pass: a cop first heard of by radio must already have his first stamp.
void RadioPass(const TickContext& tick);
