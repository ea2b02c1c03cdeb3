#pragma once

// Every INI key of the plugin, once, in the order of its settings record: the record, the reader,
// the sandbox's settings check and the documentation's check are all made from this list.
//
// X(type, name, default, unit, meaning): type is float (a decimal) or std::int32_t (a whole
// number); unit is "m", "deg", "ms", "%", "switch" (0 off, anything else on), or "" where the
// number has none of these.
#define VIGILOR_SETTINGS(X)                                                                                  \
    X(float, SightRange, 45.0f, "m", "how far a cop on foot sees the player")                                \
    X(float, VehicleSightRange, 35.0f, "m", "how far a cop in a car sees the player")                        \
    X(float, HeliSightRange, 70.0f, "m", "how far a helicopter crew sees the player")                        \
    X(float, CloseRange, 3.0f, "m", "a cop on foot this close notices the player without cone or line")      \
    X(float, CloseRangeCar, 3.0f, "m", "the same for a cop in a car")                                        \
    X(float, SightAngle, 140.0f, "deg", "full view cone on foot; 359 or more sees all round")                \
    X(float, VehicleSightAngle, 200.0f, "deg", "full view cone in a car")                                    \
    X(float, HeliSightAngle, 330.0f, "deg", "full view cone in a helicopter")                                \
    X(float, AlertRangeBonus, 10.0f, "m", "added to the sight range while a cop is alert")                   \
    X(float, AlertAngleBonus, 80.0f, "deg", "added to the view cone while a cop is alert")                   \
    X(float, RadioRange, 25.0f, "m", "a seeing cop tells every cop this close")                              \
    X(std::int32_t, RadioReachesCars, 1, "switch", "the radio also reaches cops in vehicles")                \
    X(std::int32_t, PursuitGraceMs, 3000, "ms", "how long a cop keeps knowing after he last saw or heard")   \
    X(std::int32_t, CutPursuit, 1, "switch", "a cop who lost the player leaves the host's pursuit")          \
    X(std::int32_t, HeliSharesScene, 1, "switch", "a helicopter crew that sees the player tells others")     \
    X(float, SearchRadius, 30.0f, "m", "radius of a foot search around the scene (at least 8)")              \
    X(std::int32_t, DefendEnabled, 1, "switch", "attacked cops defend themselves")                           \
    X(std::int32_t, DefendDurationMs, 15000, "ms", "how long a defence lasts")                               \
    X(float, DefendRange, 45.0f, "m", "how far from the cop a defence goes on (horizontal)")                 \
    X(float, DefendShareRange, 30.0f, "m", "cops this close to an attacked one defend him too")              \
    X(float, StandOffDist, 30.0f, "m", "how close a defending cop goes to the attacker (at least 0)")        \
    X(std::int32_t, RunnerPercent, 80, "%", "share of cops who run while searching (0 to 100)")              \
    X(std::int32_t, AimMinMs, 10000, "ms", "shortest aim scan (at least 1000)")                              \
    X(std::int32_t, AimMaxMs, 30000, "ms", "longest aim scan (at least AimMinMs)")                           \
    X(std::int32_t, LookChance, 15, "%", "chance of a look-about between moves")                             \
    X(std::int32_t, LookMinMs, 1200, "ms", "shortest look-about")                                            \
    X(std::int32_t, LookMaxMs, 2500, "ms", "longest look-about (at least LookMinMs)")                        \
    X(std::int32_t, MinMovesBetweenPauses, 2, "", "moves a searching cop makes before he may pause")         \
    X(float, WaypointArriveDist, 5.0f, "m", "a searching cop this close to his point has reached it")        \
    X(std::int32_t, FootSearch, 1, "switch", "lost cops on foot search the scene")                           \
    X(std::int32_t, Pathfinding, 1, "switch", "cops on foot follow the path network to the scene")           \
    X(std::int32_t, SnapToNodes, 1, "switch", "search points are moved onto the nearest path node")          \
    X(std::int32_t, VehicleSearch, 1, "switch", "lost cops in cars drive to the scene")                      \
    X(float, VehicleArriveDist, 12.0f, "m", "a searching car this close to its point has arrived")           \
    X(std::int32_t, VehicleStuckMs, 10000, "ms", "a car that gets no closer for this long stops")            \
    X(float, CarUnloadDist, 15.0f, "m", "a car this close to its point lets its crew out")                   \
    X(std::int32_t, HealCopCounter, 1, "switch", "keep the host's count of cop cars sound")                  \
    X(std::int32_t, DisguiseEnabled, 1, "switch", "a vehicle no cop saw the player in hides him")            \
    X(float, DisguiseRange, 8.0f, "m",                                                                       \
      "how close a cop sees a disguised player (doubled from a helicopter)")                                 \
    X(std::int32_t, ClearLawFlag, 0, "switch", "searching cars stop counting as law enforcers")              \
    X(std::int32_t, LawFlagMaxMs, 5000, "ms", "how long a car's law-enforcer flag stays cleared")            \
    X(std::int32_t, VehicleTracksPlayer, 0, "switch", "searching cars drive near the player, not the scene") \
    X(float, TrackError, 25.0f, "m", "how far off the player a tracking car aims")                           \
    X(std::int32_t, TrackRefreshMs, 8000, "ms", "how often a tracking car's aim is drawn again")             \
    X(float, VehiclePlayerDist, 25.0f, "m", "a tracking car this close to the player stops")                 \
    X(std::int32_t, VehicleHaltMs, 2500, "ms", "a car standing still this long stops its search drive")      \
    X(float, VehicleSpeed, 25.0f, "", "cruise speed of a searching car, in host speed units")                \
    X(std::int32_t, HeliSearch, 1, "switch", "lost helicopters sweep the scene")                             \
    X(float, HeliAltitude, 30.0f, "m", "height of a searching helicopter above the ground")                  \
    X(std::int32_t, GunshotEnabled, 1, "switch", "cops hear the player shoot")                               \
    X(float, GunshotRange, 90.0f, "m", "how far a shot is heard")                                            \
    X(float, SilencedRange, 20.0f, "m", "how far a silenced shot is heard")                                  \
    X(std::int32_t, JogMoveState, 6, "", "host move state of a searching runner (4 to 7)")                   \
    X(float, PedRangeMultiplier, 3.0f, "",                                                                   \
      "camera ped range while wanted (at most 6; 1 or less: untouched)")                                     \
    X(std::int32_t, FadeStars, 1, "switch", "the wanted stars fade while no cop sees the player")            \
    X(float, StarFadeAmount, 0.6f, "", "how much the stars fade (0 to 0.9)")                                 \
    X(std::int32_t, StarFadeDelayMs, 2000, "ms", "how long unseen before the stars fade")                    \
    X(std::int32_t, StarFadeSpeedMs, 0, "ms", "ms per whole step of fading; 0 at once (at least 0)")         \
    X(std::int32_t, FlashStars, 0, "switch", "the stars also flash while faded")                             \
    X(std::int32_t, Log, 1, "switch", "write the log file")
