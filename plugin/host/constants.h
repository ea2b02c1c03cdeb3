#pragma once

// The host's own numbers that the plugin uses: script command ids, task types, models, weapon types
// and move states. Each is the host's value and means the same to every part of the plugin.

namespace host {

// Script commands (ids of the host's bytecode).
inline constexpr unsigned int kCommandClosestPedNode = 0x02C0;  ///< x, y, z -> node x, y, z
inline constexpr unsigned int kCommandSetWeapon = 0x01B9;       ///< ped, weapon type
inline constexpr unsigned int kCommandLookAbout = 0x05C9;       ///< ped, ms
inline constexpr unsigned int kCommandDriveTo = 0x05D1;         ///< driver, car, x, y, z, speed, ...
inline constexpr unsigned int kCommandGoStraight = 0x05D3;      ///< ped, x, y, z, move state, ms
inline constexpr unsigned int kCommandAttack = 0x05E2;          ///< ped, target ped
inline constexpr unsigned int kCommandFollowPath = 0x05F5;      ///< ped, x, y, z, move state, ms
inline constexpr unsigned int kCommandLeaveVehicle = 0x0633;    ///< ped
inline constexpr unsigned int kCommandAimAt = 0x0667;           ///< ped, x, y, z, ms

// Task types.
inline constexpr int kTaskLeaveVehicle = 704;
/// The host's pursuit tasks, in the order the plugin looks for them.
inline constexpr int kPursuitTasks[] = {1103, 1101, 1105};

// Vehicle models.
inline constexpr int kModelPoliceHeli = 497;
/// A police model that the car search never sends out (the helicopter has a search of its own).
inline constexpr int kModelNeverSearching = 430;

// Car missions.
/// The host's own chase missions: a car on one of them has been taken into the host's pursuit.
inline constexpr bool IsChaseMission(int mission) {
    switch (mission & 0xFF) {  // the host reads its mission byte unsigned here
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 21:
        case 24:
        case 25:
        case 26:
        case 43: return true;
        default: return false;
    }
}

// Weapon types: the firearms are one range; the silenced pistol among them carries less far.
inline constexpr int kFirstFirearm = 22;
inline constexpr int kLastFirearm = 34;
inline constexpr int kSilencedPistol = 23;
inline constexpr bool IsFirearm(int weaponType) {
    return weaponType >= kFirstFirearm && weaponType <= kLastFirearm;
}

// Move states of the host's movement commands.
inline constexpr int kMoveStateWalk = 4;
inline constexpr int kMoveStateRun = 6;

}  // namespace host
