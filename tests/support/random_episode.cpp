#include "support/random_episode.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>
#include <string_view>
#include <vector>

#include "host/constants.h"
#include "scenario/scenario_loader.h"

namespace testing_support {

namespace {

using nlohmann::json;

constexpr std::array<std::string_view, 60> kKeys = {
    "SightRange",         "VehicleSightRange",   "HeliSightRange",    "CloseRange",
    "CloseRangeCar",      "SightAngle",          "VehicleSightAngle", "HeliSightAngle",
    "AlertRangeBonus",    "AlertAngleBonus",     "RadioRange",        "RadioReachesCars",
    "PursuitGraceMs",     "CutPursuit",          "HeliSharesScene",   "SearchRadius",
    "DefendEnabled",      "DefendDurationMs",    "DefendRange",       "DefendShareRange",
    "StandOffDist",       "RunnerPercent",       "AimMinMs",          "AimMaxMs",
    "LookChance",         "LookMinMs",           "LookMaxMs",         "MinMovesBetweenPauses",
    "WaypointArriveDist", "FootSearch",          "Pathfinding",       "SnapToNodes",
    "VehicleSearch",      "VehicleArriveDist",   "VehicleStuckMs",    "CarUnloadDist",
    "HealCopCounter",     "DisguiseEnabled",     "DisguiseRange",     "ClearLawFlag",
    "LawFlagMaxMs",       "VehicleTracksPlayer", "TrackError",        "TrackRefreshMs",
    "VehiclePlayerDist",  "VehicleHaltMs",       "VehicleSpeed",      "HeliSearch",
    "HeliAltitude",       "GunshotEnabled",      "GunshotRange",      "SilencedRange",
    "JogMoveState",       "PedRangeMultiplier",  "FadeStars",         "StarFadeAmount",
    "StarFadeDelayMs",    "StarFadeSpeedMs",     "FlashStars",        "Log"};

// Values no sensible INI holds, which the reader must survive all the same.
constexpr std::array<std::string_view, 14> kExtremeValues = {
    "0",   "-1",  "1e9",  "-1e9", "2147483647", "-2147483648", "4294967296",
    "nan", "inf", "-inf", "1e40", "0x7fffffff", "abc",         ""};

// Room is left in the host's pools (140 peds, 110 vehicles) for the spawns.
constexpr std::size_t kMaxStartVehicles = 90;
constexpr int kCopType = 6;
constexpr int kCivilianType = 7;
constexpr int kPoliceCarModel = 596;
constexpr int kCivilianCarModel = 400;
constexpr int kPistol = 22;
constexpr int kSilencedPistol = 23;

class Generator {
public:
    explicit Generator(unsigned seed) : r_(seed) {}

    RandomEpisode Make(unsigned seed) {
        RandomEpisode episode;
        episode.seed = seed;
        area_ = Between(40, 200);
        const std::uint32_t duration = Between(12000, 30000);
        episode.clearedAtMs = duration - Between(1500, 3000);

        json scene = {{"name", "random-" + std::to_string(seed)},
                      {"seed", seed},
                      {"clockStartMs", ClockStart(duration)},
                      {"durationMs", duration},
                      {"host", {{"pursuit", Chance(85)}}},
                      {"world", World()},
                      {"player", Player()}};
        const bool zeroMsFrames = Chance(20);
        scene["frameMs"] = FrameTime();
        // The run stops before a frame that would end past its length, so it is made one longest
        // frame longer: it then outlasts the episode whatever lengths the frames draw.
        const json& frame = scene["frameMs"];
        scene["durationMs"] =
            duration + (frame.is_array() ? frame[1].get<std::uint32_t>() : frame.get<std::uint32_t>());
        if (Chance(80)) scene["ini"] = Ini();
        Police();
        scene["events"] = Events(episode.clearedAtMs);
        scene["peds"] = peds_;
        scene["vehicles"] = vehicles_;

        episode.json = scene.dump(1);
        episode.scenario = sandbox::ParseScenario(episode.json, "random.json");
        // The file format asks for at least 1 ms a frame; the host's own frames may take none.
        if (zeroMsFrames) episode.scenario.frame.minMs = 0;
        return episode;
    }

private:
    std::uint32_t Between(std::uint32_t low, std::uint32_t high) {
        return std::uniform_int_distribution<std::uint32_t>(low, high)(r_);
    }
    bool Chance(std::uint32_t percent) { return Between(0, 99) < percent; }
    template <typename T, std::size_t N>
    const T& Pick(const std::array<T, N>& items) {
        return items[Between(0, N - 1)];
    }
    float Coordinate(std::uint32_t range) {
        return static_cast<float>(Between(0, 2 * range)) - static_cast<float>(range) + 0.5f;
    }
    json Point(std::uint32_t range, float z = 0.0f) { return {Coordinate(range), Coordinate(range), z}; }

    // Far from the wrap, just before it (so it wraps during the run), or anywhere.
    std::uint32_t ClockStart(std::uint32_t duration) {
        const std::uint32_t kind = Between(0, 9);
        if (kind < 3) return Between(0, 100000);
        if (kind < 7) return 0U - Between(1, duration);
        return Between(0, std::numeric_limits<std::uint32_t>::max());
    }

    json FrameTime() {
        switch (Between(0, 4)) {
            case 0: return 33;
            case 1: return {1, 60};
            case 2: return {10, 200};
            case 3: return {1, Between(500, 4000)};  // some very long frames
            default: return Between(1, 40);
        }
    }

    json World() {
        json world = {{"boxes", json::array()}};
        const std::uint32_t boxes = Between(0, 6);
        for (std::uint32_t i = 0; i < boxes; ++i) {
            const float x = Coordinate(area_);
            const float y = Coordinate(area_);
            // Keep the player's start free.
            if (std::abs(x) < 15.0f && std::abs(y) < 15.0f) continue;
            const float w = static_cast<float>(Between(3, 30));
            const float d = static_cast<float>(Between(3, 30));
            world["boxes"].push_back({{"min", {x, y, 0}}, {"max", {x + w, y + d, Between(2, 20)}}});
        }
        if (Chance(20)) {
            const float x = Coordinate(area_);
            const float y = Coordinate(area_);
            world["noGround"] = json::array({{{"min", {x, y}}, {"max", {x + 20, y + 20}}}});
        }
        const std::uint32_t nodes = Between(0, 3);
        if (nodes <= 1) world["pedNodes"] = {{"spacing", Between(8, 20)}};
        if (nodes == 2) {
            json points = json::array();
            for (int i = 0; i < 30; ++i) points.push_back(Point(area_));
            world["pedNodes"] = points;
        }
        return world;
    }

    json Player() {
        json player = {
            {"pos", {0, 0, 0}},
            {"wanted", Between(1, 6)},
            {"weapons", {{{"type", kPistol}, {"ammo", 500}}, {{"type", kSilencedPistol}, {"ammo", 500}}}}};
        if (Chance(25)) {
            vehicles_.push_back({{"id", "getaway"}, {"model", kCivilianCarModel}, {"pos", {0, 0, 0}}});
            player["vehicle"] = "getaway";
            player["seat"] = "driver";
        }
        return player;
    }

    void CopOnFoot(json& list, std::uint32_t range) {
        const std::string id = "cop" + std::to_string(nextId_++);
        json cop = {{"id", id}, {"type", kCopType}, {"pos", Point(range)}, {"heading", Between(0, 359)}};
        if (Chance(80)) cop["weapons"] = {{{"type", kPistol}, {"ammo", 100}}};
        list.push_back(cop);
        peds_alive_.push_back(id);
    }

    // A car or helicopter with its crew; the crew goes into `pedList`, the vehicle into `vehicleList`.
    int Crewed(json& vehicleList, json& pedList, bool heli, std::uint32_t range, int room) {
        const std::string id = (heli ? "heli" : "car") + std::to_string(nextId_++);
        const json pos = heli ? Point(range, 30.0f) : Point(range);
        vehicleList.push_back({{"id", id},
                               {"model", heli ? host::kModelPoliceHeli : kPoliceCarModel},
                               {"pos", pos},
                               {"heading", Between(0, 359)},
                               {"lawEnforcer", heli || Chance(90)}});
        vehicles_alive_.push_back(id);
        const int crew = std::min(room, static_cast<int>(Between(1, heli ? 2 : 4)));
        for (int seat = -1; seat < crew - 1; ++seat) {
            const std::string pedId = id + "-" + std::to_string(seat + 1);
            json ped = {{"id", pedId}, {"type", kCopType}, {"pos", pos}, {"vehicle", id}};
            ped["seat"] = seat < 0 ? json("driver") : json(seat);
            pedList.push_back(ped);
            peds_alive_.push_back(pedId);
        }
        return crew;
    }

    // Mostly small forces, now and then a crowd of up to 100 cops; pools keep room for the spawns.
    void Police() {
        const int cops = Chance(60) ? static_cast<int>(Between(1, 12)) : static_cast<int>(Between(13, 100));
        int placed = 0;
        while (placed < cops) {
            const std::uint32_t kind = Between(0, 9);
            if (kind < 5 || vehicles_.size() >= kMaxStartVehicles) {
                CopOnFoot(peds_, area_);
                ++placed;
            } else {
                placed += Crewed(vehicles_, peds_, kind == 9, area_, cops - placed);
            }
        }
        if (Chance(50)) {
            peds_.push_back({{"id", "walker"}, {"type", kCivilianType}, {"pos", Point(area_)}});
            peds_alive_.push_back("walker");
        }
    }

    std::string Alive(const std::vector<std::string>& ids) {
        return ids[Between(0, static_cast<std::uint32_t>(ids.size()) - 1)];
    }

    // One event (or a few at the same moment) at run time `at`.
    void EventsAt(std::uint32_t at, json& events) {
        const auto event = [&](json e) {
            e["at"] = at;
            events.push_back(e);
        };
        const std::uint32_t kind = Between(0, 99);
        if (kind < 25) {
            event({{"do", "playerMove"}, {"to", Point(area_)}, {"speed", Between(2, 30)}});
        } else if (kind < 32) {
            event({{"do", "playerWarp"}, {"to", Chance(20) ? Point(3000) : Point(area_)}});
        } else if (kind < 42) {
            event({{"do", "playerFire"},
                   {"weapon", Chance(30) ? kSilencedPistol : kPistol},
                   {"forMs", Between(100, 1500)}});
        } else if (kind < 47) {
            event({{"do", "wanted"}, {"level", Between(0, 6)}});
        } else if (kind < 52) {
            event({{"do", "key"}, {"key", "F10"}, {"forMs", Between(30, 300)}});
        } else if (kind < 54) {
            event({{"do", "playerDie"}});
        } else if (kind < 70 && spawns_ > 0) {
            // Churn: some go and others come in the same frame, so slots are reused at once.
            const std::uint32_t count = Between(1, 3);
            for (std::uint32_t i = 0; i < count && spawns_ > 0; ++i) {
                if (Chance(50) && !peds_alive_.empty()) Remove(peds_alive_, event);
                if (Chance(25) && !vehicles_alive_.empty()) Remove(vehicles_alive_, event);
                json pedList = json::array();
                json vehicleList = json::array();
                if (Chance(50)) {
                    CopOnFoot(pedList, area_);
                } else {
                    Crewed(vehicleList, pedList, Chance(20), area_, 3);
                }
                for (const json& v : vehicleList) event({{"do", "spawn"}, {"vehicle", v}});
                for (const json& p : pedList) event({{"do", "spawn"}, {"ped", p}});
                --spawns_;
            }
        } else if (kind < 82 && !peds_alive_.empty()) {
            const std::string target = Alive(peds_alive_);
            event({{"do", "damage"}, {"target", target}, {"source", "player"}, {"amount", Between(5, 250)}});
        } else if (kind < 88 && !peds_alive_.empty()) {
            event({{"do", "pedMoveTo"},
                   {"id", Alive(peds_alive_)},
                   {"to", Point(area_)},
                   {"speed", Between(1, 8)}});
        } else if (kind < 94 && !peds_alive_.empty()) {
            event({{"do", "hostCriminal"}, {"id", Alive(peds_alive_)}});
        } else if (!peds_alive_.empty()) {
            event({{"do", "hostTask"}, {"id", Alive(peds_alive_)}, {"task", Chance(50) ? 1103 : 704}});
        }
    }

    template <typename Event>
    void Remove(std::vector<std::string>& ids, const Event& event) {
        const std::size_t i = Between(0, static_cast<std::uint32_t>(ids.size()) - 1);
        if (ids[i] == "walker") return;
        event({{"do", "remove"}, {"id", ids[i]}});
        ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(i));
    }

    json Events(std::uint32_t clearedAt) {
        json events = json::array();
        for (std::uint32_t t = Between(200, 1500); t < clearedAt; t += Between(100, 2500))
            EventsAt(t, events);
        events.push_back({{"at", clearedAt}, {"do", "wanted"}, {"level", 0}});
        return events;
    }

    std::string Ini() {
        std::string text = "[Settings]\n";
        const std::uint32_t keys = Between(1, 15);
        for (std::uint32_t i = 0; i < keys; ++i) {
            const std::string_view key = Pick(kKeys);
            text += std::string(key) + "=" +
                    (Chance(30) ? std::string(Pick(kExtremeValues)) : Plausible(key)) + "\n";
        }
        return text;
    }

    // A value of the kind the key's name promises.
    std::string Plausible(std::string_view key) {
        const auto endsWith = [&](std::string_view tail) { return key.ends_with(tail); };
        if (endsWith("Ms")) return std::to_string(Between(0, 30000));
        if (endsWith("Percent") || endsWith("Chance")) return std::to_string(Between(0, 100));
        if (endsWith("Angle") || endsWith("AngleBonus")) return std::to_string(Between(0, 360));
        if (endsWith("Range") || endsWith("Dist") || endsWith("Radius") || endsWith("Error") ||
            endsWith("Altitude") || endsWith("Bonus") || endsWith("Speed")) {
            return std::to_string(Between(0, 1500) / 10.0);
        }
        if (key == "StarFadeAmount" || key == "PedRangeMultiplier")
            return std::to_string(Between(0, 80) / 10.0);
        if (key == "JogMoveState" || key == "MinMovesBetweenPauses") return std::to_string(Between(0, 9));
        return Chance(70) ? "1" : "0";
    }

    std::mt19937 r_;
    std::uint32_t area_ = 100;
    int nextId_ = 0;
    int spawns_ = 12;
    json peds_ = json::array();
    json vehicles_ = json::array();
    std::vector<std::string> peds_alive_;
    std::vector<std::string> vehicles_alive_;
};

}  // namespace

RandomEpisode MakeRandomEpisode(unsigned seed) { return Generator(seed).Make(seed); }

}  // namespace testing_support
