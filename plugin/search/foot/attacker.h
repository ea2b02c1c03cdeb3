#pragma once

class CPed;
struct CopState;

/// The ped to blame for the cop's last damage, or null when it may not start a defence: nobody, the
/// player, the cop himself, another cop, a dead ped, or something that is not a pooled ped (a pooled
/// vehicle stands for its driver).
CPed* AttackerOf(CPed& cop);
/// The cop's assigned attacker is still the same live ped in the pool (not a new one in his slot).
bool AttackerStillThere(const CopState& cop);
/// Ped pool membership, by the pool's own slots.
bool InPedPool(const CPed* ped);
