#pragma once

namespace sandbox {

struct Ped;
struct Vehicle;

/// The host's one answer to "does this cop pursue the player now?". The chase, the arrest, the end of
/// a wanted level and the vehicles all ask it, so that they cannot disagree. On foot a cop pursues
/// while he carries a pursuit task or has the player on his criminal list; in a vehicle, while his
/// flag lets him and his vehicle is on one of the host's chase missions, which is all the vehicle
/// rules go by. A dead cop, a ped who is no cop, and the player himself never pursue.
bool PursuesPlayer(const Ped& cop, const Ped& player);

/// Whether the vehicle is on the host's chase: a chase mission for a car, the helicopter chase for a
/// helicopter.
bool OnHostChase(const Vehicle& vehicle);

}  // namespace sandbox
