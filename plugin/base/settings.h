#pragma once

#include <cstdint>

#include "base/export.h"

/// Every option of the plugin, one field per INI key, in record order. Read once on the first frame.
struct Settings {
    float SightRange = 45.0f;          ///< m; sight range of a cop on foot
    float VehicleSightRange = 35.0f;   ///< m; in a vehicle other than a helicopter
    float HeliSightRange = 70.0f;      ///< m; in a helicopter
    float CloseRange = 3.0f;           ///< m; on foot, noticed without cone or line of sight
    float CloseRangeCar = 3.0f;        ///< m; the same in a vehicle
    float SightAngle = 140.0f;         ///< degrees, full cone on foot; 359 or more = all round
    float VehicleSightAngle = 200.0f;  ///< degrees, full cone in a vehicle
    float HeliSightAngle = 330.0f;     ///< degrees, full cone in a helicopter
    float AlertRangeBonus = 10.0f;     ///< m added while alert
    float AlertAngleBonus = 80.0f;     ///< degrees added while alert
    float RadioRange = 25.0f;          ///< m over which a seeing cop tells another
    std::int32_t RadioReachesCars = 1;
    std::int32_t PursuitGraceMs = 3000;  ///< ms without knowledge before a cop has lost the player
    std::int32_t CutPursuit = 1;
    std::int32_t HeliSharesScene = 1;
    float SearchRadius = 30.0f;  ///< m, at least 8
    std::int32_t DefendEnabled = 1;
    std::int32_t DefendDurationMs = 15000;
    float DefendRange = 45.0f;        ///< m, horizontal
    float DefendShareRange = 30.0f;   ///< m, 3D
    float StandOffDist = 30.0f;       ///< m, at least 0
    std::int32_t RunnerPercent = 80;  ///< percent, 0 to 100
    std::int32_t AimMinMs = 10000;    ///< ms, at least 1000
    std::int32_t AimMaxMs = 30000;    ///< ms, at least AimMinMs
    std::int32_t LookChance = 15;     ///< percent
    std::int32_t LookMinMs = 1200;
    std::int32_t LookMaxMs = 2500;  ///< ms, at least LookMinMs
    std::int32_t MinMovesBetweenPauses = 2;
    float WaypointArriveDist = 5.0f;  ///< m, horizontal
    std::int32_t FootSearch = 1;
    std::int32_t Pathfinding = 1;
    std::int32_t SnapToNodes = 1;
    std::int32_t VehicleSearch = 1;
    float VehicleArriveDist = 12.0f;  ///< m
    std::int32_t VehicleStuckMs = 10000;
    float CarUnloadDist = 15.0f;  ///< m
    std::int32_t HealCopCounter = 1;
    std::int32_t DisguiseEnabled = 1;
    float DisguiseRange = 8.0f;  ///< m; doubled from a helicopter
    std::int32_t ClearLawFlag = 0;
    std::int32_t LawFlagMaxMs = 5000;
    std::int32_t VehicleTracksPlayer = 0;
    float TrackError = 25.0f;  ///< m
    std::int32_t TrackRefreshMs = 8000;
    float VehiclePlayerDist = 25.0f;  ///< m
    std::int32_t VehicleHaltMs = 2500;
    float VehicleSpeed = 25.0f;  ///< host speed units
    std::int32_t HeliSearch = 1;
    float HeliAltitude = 30.0f;  ///< m above ground
    std::int32_t GunshotEnabled = 1;
    float GunshotRange = 90.0f;       ///< m
    float SilencedRange = 20.0f;      ///< m
    std::int32_t JogMoveState = 6;    ///< host move state, 4 to 7
    float PedRangeMultiplier = 3.0f;  ///< at most 6; 1 or less leaves the camera alone
    std::int32_t FadeStars = 1;
    float StarFadeAmount = 0.6f;  ///< 0 to 0.9
    std::int32_t StarFadeDelayMs = 2000;
    std::int32_t StarFadeSpeedMs = 0;  ///< ms per 1.0 of alpha, at least 0
    std::int32_t FlashStars = 0;
    std::int32_t Log = 1;
};

/// The settings in force.
VIGILOR_EXPORT extern Settings cfg;

extern char iniPath[260];
extern char logPath[260];

/// Derives the INI and log paths from the module's own file path.
void BuildPaths();
/// Reads Log, empties the log file, reads every other key, clamps, and logs the banner.
void ReadSettings();
