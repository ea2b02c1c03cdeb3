#pragma once

class CPed;

/// Whether the player sits in a vehicle the police have not seen him in. Kept for the episode.
class Disguise {
public:
    static constexpr int kNoVehicle = -1;

    /// Start of each tick, with the host handle of the player's vehicle (or kNoVehicle): the first
    /// tick of the episode takes it as known; logs when the disguise comes or goes.
    void Update(int playerVehicle);
    /// Forgets the known vehicle at the end of an episode.
    void Reset();
    /// The disguise in force for this tick's sight tests.
    bool Active() const { return active_; }
    /// A cop sees the player: the vehicle he sits in (or none) becomes the known one.
    void Recognise(int playerVehicle);

private:
    int knownVehicle_ = kNoVehicle;  // host handle of the vehicle the police know him in
    bool knownCaptured_ = false;     // taken on the first tick of the episode
    bool active_ = false;
};

/// The player's vehicle as the disguise knows it: its host handle, or Disguise::kNoVehicle.
int PlayerVehicleRef(CPed* player);
