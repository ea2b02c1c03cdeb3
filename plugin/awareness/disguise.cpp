#include "awareness/disguise.h"

#include "awareness/sight_test.h"
#include "frame/log.h"
#include "frame/settings.h"
#include "host/ped.h"
#include "host/player.h"
#include "host/pools.h"

namespace {

constexpr int kNoVehicle = -1;

int knownVehicle = kNoVehicle;      // host handle of the vehicle the police know him in
bool knownVehicleCaptured = false;  // taken on the first tick of the episode
bool disguised = false;

int PlayerVehicle() {
    CPlayerPed* player = FindPlayerPed(-1);
    CVehicle* vehicle = player != nullptr ? SeatedVehicle(*player) : nullptr;
    return vehicle != nullptr ? CPools::GetVehicleRef(vehicle) : kNoVehicle;
}

}  // namespace

void UpdateDisguise() {
    const int current = PlayerVehicle();
    if (!knownVehicleCaptured) {
        knownVehicle = current;
        knownVehicleCaptured = true;
    }
    const bool now = cfg.DisguiseEnabled != 0 && current != kNoVehicle && knownVehicle != kNoVehicle &&
                     current != knownVehicle;
    if (now == disguised) return;
    LogLine("disguise: %s (playerVeh=%d knownVeh=%d)",
            now ? "player is in an unknown vehicle" : "cops know the player's vehicle again", current,
            knownVehicle);
    disguised = now;
}

void ResetDisguise() {
    knownVehicle = kNoVehicle;
    knownVehicleCaptured = false;
    disguised = false;
}

bool Disguised() { return disguised; }

void RecogniseVehicle() {
    const int current = PlayerVehicle();
    if (knownVehicle == current) return;
    LogLine("disguise: cops recognised the vehicle %d", current);
    knownVehicle = current;
}
