#pragma once

class CPed;

// The host orders and task queries that the searches and the suppression share.

/// The cop is still getting out of a vehicle (the host's leave-a-vehicle task).
bool LeavingVehicle(CPed& ped);
/// Drops every host task of the ped before we give him something of our own.
void FlushTasks(CPed& ped);
/// The ped's script handle, for the host's commands.
int HandleOf(CPed& ped);
