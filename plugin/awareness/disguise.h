#pragma once

/// Start of each tick: is the player in a vehicle the police have not seen him in?
void UpdateDisguise();
/// Forgets the known vehicle at the end of an episode.
void ResetDisguise();
/// The disguise in force for this tick's sight tests.
bool Disguised();
/// A cop sees the player: the vehicle he sits in (or none) becomes the known one.
void RecogniseVehicle();
