#pragma once

struct TickContext;

/// Notices listed cops hurt by someone other than the player and hands the attacker to the listed
/// cops near them (their self-defence records).
void DetectAttacks(TickContext& tick);
