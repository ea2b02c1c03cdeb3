// Over random episodes, whatever the plugin changed on the host is given back when the episode ends
// or F10 switches it off: law-enforcer flags, pursuit-suppression flags, the camera's ped range.

#include <gtest/gtest.h>

#include <random>

#include "host/screen.h"
#include "support/plugin_run.h"
#include "world/world.h"

namespace {

std::string Point(std::mt19937& r, int range) {
    std::uniform_int_distribution<int> d(-range, range);
    return "[" + std::to_string(d(r)) + ", " + std::to_string(d(r)) + ", 0]";
}

// Cars with crews and a helicopter around a player who runs about, loses and gains stars, and
// presses F10; the run ends with the wanted level cleared.
std::string RandomEpisode(unsigned seed) {
    std::mt19937 r(seed);
    std::string peds;
    std::string vehicles;
    for (int i = 0; i < 4; ++i) {
        const std::string id = "pc" + std::to_string(i);
        const std::string pos = Point(r, 90);
        vehicles += R"({ "id": ")" + id + R"(", "model": 596, "pos": )" + pos + R"(, "heading": )" +
                    std::to_string(r() % 360) + R"(, "lawEnforcer": true }, )";
        peds += R"({ "id": ")" + id + R"(-d", "type": 6, "pos": )" + pos + R"(, "vehicle": ")" + id +
                R"(", "seat": "driver" }, { "id": ")" + id + R"(-p", "type": 6, "pos": )" + pos +
                R"(, "vehicle": ")" + id + R"(", "seat": 0 }, )";
    }
    vehicles += R"({ "id": "heli", "model": 497, "pos": [0, -120, 30], "lawEnforcer": true })";
    peds += R"({ "id": "pilot", "type": 6, "pos": [0, -120, 30], "vehicle": "heli", "seat": "driver" })";
    std::string events;
    for (int t = 1000; t < 40000; t += 1000 + static_cast<int>(r() % 3000)) {
        const int kind = static_cast<int>(r() % 6);
        std::string e = R"({ "at": )" + std::to_string(t) + ", ";
        if (kind <= 2) e += R"("do": "playerMove", "to": )" + Point(r, 120) + R"(, "speed": 7 })";
        else if (kind == 3) e += R"("do": "wanted", "level": )" + std::to_string(r() % 4) + " }";
        else if (kind == 4) e += R"("do": "key", "key": "F10", "forMs": 100 })";
        else e += R"("do": "playerWarp", "to": )" + Point(r, 60) + " }";
        events += e + ", ";
    }
    events += R"({ "at": 42000, "do": "wanted", "level": 0 })";
    return R"({ "name": "invariant", "seed": )" + std::to_string(seed) +
           R"(, "frameMs": [30, 60], "durationMs": 43000, "settings": { "ClearLawFlag": 1, "VehicleTracksPlayer": )" +
           std::to_string(seed % 2) + R"(, "PedRangeMultiplier": 2.5 },
             "host": { "pursuit": true }, "player": { "pos": [0, 0, 0], "wanted": 2 },
             "peds": [ )" + peds + R"( ], "vehicles": [ )" + vehicles + R"( ], "events": [ )" + events + " ] }";
}

TEST(EpisodeInvariantTest, EverythingHeldIsGivenBackWhenTheEpisodeEndsOrThePluginIsSwitchedOff) {
    int losses = 0;
    int carOrders = 0;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        bool lawFlagsBack = false;
        bool suppressionDown = false;
        float pedRange = 0.0f;
        float pedRangeAtStart = -1.0f;
        const auto run = testing_support::RunJson(RandomEpisode(seed), [&](sandbox::RunOptions& options) {
            options.onStart = [&](sandbox::World&) { pedRangeAtStart = TheCamera.m_fPedRangeMultiplier; };
            options.onFrame = [&](sandbox::World& world, std::uint32_t runMs, const auto&) {
                if (runMs < 42100) return;
                lawFlagsBack = suppressionDown = true;
                for (int i = 0; i < world.Vehicles().Size(); ++i) {
                    if (const auto* v = world.Vehicles().At(i)) lawFlagsBack &= v->m_bIsLawEnforcer;
                }
                for (int i = 0; i < world.Peds().Size(); ++i) {
                    if (const auto* p = world.Peds().At(i)) suppressionDown &= p->m_nPursuitSuppressed == 0;
                }
                pedRange = TheCamera.m_fPedRangeMultiplier;
            };
        });
        SCOPED_TRACE("seed " + std::to_string(seed));
        losses += run.Count("cop lost the player: ped=*");
        carOrders += run.Count("car ordered to target: veh=*");
        EXPECT_TRUE(lawFlagsBack);
        EXPECT_TRUE(suppressionDown);
        EXPECT_FLOAT_EQ(pedRange, pedRangeAtStart);
    }
    // The episodes did put the plugin to work.
    EXPECT_GT(losses, 0);
    EXPECT_GT(carOrders, 0);
}

}  // namespace
