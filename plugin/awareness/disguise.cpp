#include "awareness/disguise.h"

#include "awareness/sight_test.h"
#include "base/log.h"
#include "base/settings.h"
#include "host/ped.h"
#include "host/pools.h"

int PlayerVehicleRef(CPed* player) {
    CVehicle* vehicle = player != nullptr ? SeatedVehicle(*player) : nullptr;
    return vehicle != nullptr ? CPools::GetVehicleRef(vehicle) : Disguise::kNoVehicle;
}

void Disguise::Update(int playerVehicle) {
    if (!knownCaptured_) {
        knownVehicle_ = playerVehicle;
        knownCaptured_ = true;
    }
    const bool active = cfg.DisguiseEnabled != 0 && playerVehicle != kNoVehicle &&
                        knownVehicle_ != kNoVehicle && playerVehicle != knownVehicle_;
    if (active == active_) return;
    LogLine("disguise: %s (playerVeh=%d knownVeh=%d)",
            active ? "player is in an unknown vehicle" : "cops know the player's vehicle again",
            playerVehicle, knownVehicle_);
    active_ = active;
}

void Disguise::Reset() { *this = Disguise{}; }

void Disguise::Recognise(int playerVehicle) {
    if (knownVehicle_ == playerVehicle) return;
    LogLine("disguise: cops recognised the vehicle %d", playerVehicle);
    knownVehicle_ = playerVehicle;
}
