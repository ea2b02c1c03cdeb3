#pragma once

// Every INI key of the plugin, once, in the order of its settings record: the record, the reader,
// the sandbox's settings check and the documentation's check are all made from this list.
//
// X(type, name, default, low, high, unit, section, meaning): type is float (a decimal) or
// std::int32_t (a whole number); low and high are the bounds the reader clamps a value to, kNoLimit
// where it has none (a bound set by another key is the reader's own rule); unit is "m", "deg", "ms",
// "%", "switch" (0 off, anything else on), or "" where the number has none of these; section is the
// part of the documentation and of the commented INI the key belongs to (SettingSection).
/// No bound on that side.
struct NoLimit {};
inline constexpr NoLimit kNoLimit{};

/// The parts a modder reads the keys in, in their order.
enum class SettingSection { General, Sight, Hearing, FootSearch, Defence, Vehicles, Stars };

#define VIGILOR_SETTINGS(X)                                                                                 \
    X(float, SightRange, 45.0f, kNoLimit, kNoLimit, "m", Sight, "how far a cop on foot sees the player")    \
    X(float, VehicleSightRange, 35.0f, kNoLimit, kNoLimit, "m", Sight,                                      \
      "how far a cop in a car sees the player")                                                             \
    X(float, HeliSightRange, 70.0f, kNoLimit, kNoLimit, "m", Sight,                                         \
      "how far a helicopter crew sees the player")                                                          \
    X(float, CloseRange, 3.0f, kNoLimit, kNoLimit, "m", Sight,                                              \
      "a cop on foot this close notices the player without cone or line")                                   \
    X(float, CloseRangeCar, 3.0f, kNoLimit, kNoLimit, "m", Sight, "the same for a cop in a car")            \
    X(float, SightAngle, 140.0f, kNoLimit, kNoLimit, "deg", Sight,                                          \
      "full view cone on foot; 359 or more sees all round")                                                 \
    X(float, VehicleSightAngle, 200.0f, kNoLimit, kNoLimit, "deg", Sight, "full view cone in a car")        \
    X(float, HeliSightAngle, 330.0f, kNoLimit, kNoLimit, "deg", Sight, "full view cone in a helicopter")    \
    X(float, AlertRangeBonus, 10.0f, kNoLimit, kNoLimit, "m", Sight,                                        \
      "added to the sight range while a cop is alert")                                                      \
    X(float, AlertAngleBonus, 80.0f, kNoLimit, kNoLimit, "deg", Sight,                                      \
      "added to the view cone while a cop is alert")                                                        \
    X(float, RadioRange, 25.0f, kNoLimit, kNoLimit, "m", Sight, "a seeing cop tells every cop this close")  \
    X(std::int32_t, RadioReachesCars, 1, kNoLimit, kNoLimit, "switch", Sight,                               \
      "the radio also reaches cops in vehicles")                                                            \
    X(std::int32_t, PursuitGraceMs, 3000, kNoLimit, kNoLimit, "ms", Sight,                                  \
      "how long a cop keeps knowing after he last saw or heard")                                            \
    X(std::int32_t, CutPursuit, 1, kNoLimit, kNoLimit, "switch", General,                                   \
      "a cop who lost the player leaves the host's pursuit")                                                \
    X(std::int32_t, HeliSharesScene, 1, kNoLimit, kNoLimit, "switch", Sight,                                \
      "a helicopter crew that sees the player tells others")                                                \
    X(float, SearchRadius, 30.0f, 8.0f, kNoLimit, "m", FootSearch,                                          \
      "radius of a foot search around the scene")                                                           \
    X(std::int32_t, DefendEnabled, 1, kNoLimit, kNoLimit, "switch", Defence,                                \
      "attacked cops defend themselves")                                                                    \
    X(std::int32_t, DefendDurationMs, 15000, kNoLimit, kNoLimit, "ms", Defence, "how long a defence lasts") \
    X(float, DefendRange, 45.0f, kNoLimit, kNoLimit, "m", Defence,                                          \
      "how far from the cop a defence goes on (horizontal)")                                                \
    X(float, DefendShareRange, 30.0f, kNoLimit, kNoLimit, "m", Defence,                                     \
      "cops this close to an attacked one defend him too")                                                  \
    X(float, StandOffDist, 30.0f, 0.0f, kNoLimit, "m", FootSearch,                                          \
      "how close a defending cop goes to the attacker")                                                     \
    X(std::int32_t, RunnerPercent, 80, 0, 100, "%", FootSearch, "share of cops who run while searching")    \
    X(std::int32_t, AimMinMs, 10000, 1000, kNoLimit, "ms", FootSearch, "shortest aim scan")                 \
    X(std::int32_t, AimMaxMs, 30000, kNoLimit, kNoLimit, "ms", FootSearch,                                  \
      "longest aim scan (at least AimMinMs)")                                                               \
    X(std::int32_t, LookChance, 15, kNoLimit, kNoLimit, "%", FootSearch,                                    \
      "chance of a look-about between moves")                                                               \
    X(std::int32_t, LookMinMs, 1200, kNoLimit, kNoLimit, "ms", FootSearch, "shortest look-about")           \
    X(std::int32_t, LookMaxMs, 2500, kNoLimit, kNoLimit, "ms", FootSearch,                                  \
      "longest look-about (at least LookMinMs)")                                                            \
    X(std::int32_t, MinMovesBetweenPauses, 2, kNoLimit, kNoLimit, "", FootSearch,                           \
      "moves a searching cop makes before he may pause")                                                    \
    X(float, WaypointArriveDist, 5.0f, kNoLimit, kNoLimit, "m", FootSearch,                                 \
      "a searching cop this close to his point has reached it")                                             \
    X(std::int32_t, FootSearch, 1, kNoLimit, kNoLimit, "switch", FootSearch,                                \
      "lost cops on foot search the scene")                                                                 \
    X(std::int32_t, Pathfinding, 1, kNoLimit, kNoLimit, "switch", FootSearch,                               \
      "cops on foot follow the path network to the scene")                                                  \
    X(std::int32_t, SnapToNodes, 1, kNoLimit, kNoLimit, "switch", FootSearch,                               \
      "search points are moved onto the nearest path node")                                                 \
    X(std::int32_t, VehicleSearch, 1, kNoLimit, kNoLimit, "switch", Vehicles,                               \
      "lost cops in cars drive to the scene")                                                               \
    X(float, VehicleArriveDist, 12.0f, kNoLimit, kNoLimit, "m", Vehicles,                                   \
      "a searching car this close to its point has arrived")                                                \
    X(std::int32_t, VehicleStuckMs, 10000, kNoLimit, kNoLimit, "ms", Vehicles,                              \
      "a car that gets no closer for this long stops")                                                      \
    X(float, CarUnloadDist, 15.0f, kNoLimit, kNoLimit, "m", Vehicles,                                       \
      "a car this close to its point lets its crew out")                                                    \
    X(std::int32_t, HealCopCounter, 1, kNoLimit, kNoLimit, "switch", Vehicles,                              \
      "keep the host's count of cop cars sound")                                                            \
    X(std::int32_t, DisguiseEnabled, 1, kNoLimit, kNoLimit, "switch", Hearing,                              \
      "a vehicle no cop saw the player in hides him")                                                       \
    X(float, DisguiseRange, 8.0f, kNoLimit, kNoLimit, "m", Hearing,                                         \
      "how close a cop sees a disguised player (doubled from a helicopter)")                                \
    X(std::int32_t, ClearLawFlag, 0, kNoLimit, kNoLimit, "switch", Vehicles,                                \
      "searching cars stop counting as law enforcers")                                                      \
    X(std::int32_t, LawFlagMaxMs, 5000, kNoLimit, kNoLimit, "ms", Vehicles,                                 \
      "how long a car's law-enforcer flag stays cleared")                                                   \
    X(std::int32_t, VehicleTracksPlayer, 0, kNoLimit, kNoLimit, "switch", Vehicles,                         \
      "searching cars drive near the player, not the scene")                                                \
    X(float, TrackError, 25.0f, kNoLimit, kNoLimit, "m", Vehicles,                                          \
      "how far off the player a tracking car aims")                                                         \
    X(std::int32_t, TrackRefreshMs, 8000, kNoLimit, kNoLimit, "ms", Vehicles,                               \
      "how often a tracking car's aim is drawn again")                                                      \
    X(float, VehiclePlayerDist, 25.0f, kNoLimit, kNoLimit, "m", Vehicles,                                   \
      "a tracking car this close to the player stops")                                                      \
    X(std::int32_t, VehicleHaltMs, 2500, kNoLimit, kNoLimit, "ms", Vehicles,                                \
      "a car standing still this long stops its search drive")                                              \
    X(float, VehicleSpeed, 25.0f, kNoLimit, kNoLimit, "", Vehicles,                                         \
      "cruise speed of a searching car, in host speed units")                                               \
    X(std::int32_t, HeliSearch, 1, kNoLimit, kNoLimit, "switch", Vehicles,                                  \
      "lost helicopters sweep the scene")                                                                   \
    X(float, HeliAltitude, 30.0f, kNoLimit, kNoLimit, "m", Vehicles,                                        \
      "height of a searching helicopter above the ground")                                                  \
    X(std::int32_t, GunshotEnabled, 1, kNoLimit, kNoLimit, "switch", Hearing, "cops hear the player shoot") \
    X(float, GunshotRange, 90.0f, kNoLimit, kNoLimit, "m", Hearing, "how far a shot is heard")              \
    X(float, SilencedRange, 20.0f, kNoLimit, kNoLimit, "m", Hearing, "how far a silenced shot is heard")    \
    X(std::int32_t, JogMoveState, 6, 4, 7, "", FootSearch, "host move state of a searching runner")         \
    X(float, PedRangeMultiplier, 3.0f, kNoLimit, 6.0f, "", General,                                         \
      "camera ped range while wanted (1 or less: untouched)")                                               \
    X(std::int32_t, FadeStars, 1, kNoLimit, kNoLimit, "switch", Stars,                                      \
      "the wanted stars fade while no cop sees the player")                                                 \
    X(float, StarFadeAmount, 0.6f, 0.0f, 0.9f, "", Stars, "how much the stars fade")                        \
    X(std::int32_t, StarFadeDelayMs, 2000, kNoLimit, kNoLimit, "ms", Stars,                                 \
      "how long unseen before the stars fade")                                                              \
    X(std::int32_t, StarFadeSpeedMs, 0, 0, kNoLimit, "ms", Stars, "ms per whole step of fading; 0 at once") \
    X(std::int32_t, FlashStars, 0, kNoLimit, kNoLimit, "switch", Stars, "the stars also flash while faded") \
    X(std::int32_t, Log, 1, kNoLimit, kNoLimit, "switch", General, "write the log file")
