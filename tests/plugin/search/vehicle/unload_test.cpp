// The cops a parked car lets out: what they know when they get out, and where they search.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "plugin/awareness/awareness_scenario.h"

namespace {

// A police car 40 m south of the scene at the origin, and a watcher who sits in a taxi 20 m south of
// (20, 0) looking north: he sees the player only when the test puts him at (20, 0). The player starts
// at the origin and steps out of everyone's sight on the first frame.
const std::string kScene = R"(
    "peds": [ { "id": "driver", "type": 6, "pos": [0, -40, 0], "vehicle": "pc", "seat": "driver" },
              { "id": "watcher", "type": 6, "pos": [20, -20, 0], "vehicle": "taxi", "seat": 0 } ],
    "vehicles": [ { "id": "pc", "model": 596, "pos": [0, -40, 0], "heading": 180, "lawEnforcer": true },
                  { "id": "taxi", "model": 420, "pos": [20, -20, 0], "heading": 0 } ])";
const sandbox::Vec3 kHidden{-60, 0, 0};
const sandbox::Vec3 kInView{20, 0, 0};

class UnloadSession : public awareness_test::Session {
public:
    explicit UnloadSession(const std::string& settings = "") : Session(kScene, settings) {
        Frame(50);
        World().Player()->SetPosition(kHidden);
    }
    /// Runs frame by frame until the car has let its cops out; false if it never does.
    bool RunUntilUnloaded(std::uint32_t limitMs) {
        while (World().Now() < limitMs) {
            Frame(50);
            if (Count("car unloaded its cops: veh=*") > 0) return true;
        }
        return false;
    }
    std::string DriverLine(const std::string& prefix) {
        char text[80];
        std::snprintf(text, sizeof text, "ped=%p", static_cast<void*>(&Ped("driver")));
        return prefix + text + "*";
    }
};

TEST(UnloadTest, ACopWhoKnewWhereThePlayerWasInTheParkedCarGetsOutLost) {
    UnloadSession s;
    ASSERT_TRUE(s.RunUntilUnloaded(12000));
    // Seen from the parked car (and told by the watcher) for a few ticks, then gone again.
    s.World().Player()->SetPosition(kInView);
    s.RunFor(300);
    s.World().Player()->SetPosition(kHidden);
    ASSERT_TRUE(s.Ped("driver").m_bInVehicle);
    s.RunFor(1500);  // out after 1000 ms, less than the grace time after he last knew
    ASSERT_FALSE(s.Ped("driver").m_bInVehicle);
    EXPECT_EQ(s.Count(s.DriverLine("cop is chasing again: ")), 0);
    EXPECT_EQ(s.Count(s.DriverLine("flushing pursuit task: ")), 1);
    EXPECT_EQ(s.Ped("driver").m_nPursuitSuppressed, 1);
}

TEST(UnloadTest, AnOwnSearchPointSetInTheSceneSMillisecondWins) {
    UnloadSession s;
    s.RunFor(3350 - s.World().Now());
    ASSERT_EQ(s.World().Journal().Count(0x05D1), 1);  // ordered to the origin at 3300
    // The watcher sees the player 20 m from the car's target: the scene moves there on every tick
    // up to the one in which the car stops, but not far enough to send the car on.
    s.World().Player()->SetPosition(kInView);
    ASSERT_TRUE(s.RunUntilUnloaded(12000));
    s.World().Player()->SetPosition(kHidden);
    s.RunFor(2000);
    const int driver = s.World().Peds().HandleOf(&s.Ped("driver"));
    const sandbox::ScriptCall* order = nullptr;
    for (const auto& call : s.World().Journal().Calls()) {
        if ((call.command == 0x05F5 || call.command == 0x05D3) && call.args[0].i == driver) {
            order = &call;
            break;
        }
    }
    ASSERT_NE(order, nullptr);
    const std::string log = s.Log();
    const auto sweep = log.find("sweeping: ped=");
    ASSERT_NE(sweep, std::string::npos);
    const float r = std::stof(log.substr(log.find("r=", sweep) + 2));
    // The leg lies r from the car's target, not from the scene the watcher set.
    EXPECT_NEAR(std::hypot(order->args[1].f, order->args[2].f), r, 0.1f);
}

}  // namespace
