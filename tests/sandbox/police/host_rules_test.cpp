// The host's rules that end a chase: the wanted level cleared after a quiet spell, the arrest, and
// the chase on foot round a building.

#include <gtest/gtest.h>

#include <string>

#include "main_loop/host_frame.h"
#include "pools/host_tasks.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "world/world.h"

namespace {

// A cop 20 m south of the player, and a wall between them when `walled`.
sandbox::Scenario Street(bool walled) {
    const std::string wall = walled ? R"("boxes": [{"min": [-15, -12, 0], "max": [15, -8, 10]}],)" : "";
    return sandbox::ParseScenario(R"({ "durationMs": 1000, "seed": 3,
        "world": { )" + wall + R"( "pedNodes": {"spacing": 5} },
        "player": { "pos": [0, 0, 0], "wanted": 2 },
        "peds": [ { "id": "cop", "type": 6, "pos": [0, -20, 0] } ] })",
                                  "rules.json");
}

class HostRulesTest : public ::testing::Test {
protected:
    void Build(const sandbox::Scenario& scenario, const sandbox::HostRules& rules) {
        scenario_ = scenario;
        world_.reset();
        world_.emplace(sandbox::ScenarioWorld(scenario_));
        frame_.emplace(rules);
    }
    // Frames of 50 ms; `each` after every frame.
    void RunFor(std::uint32_t ms, const std::function<void()>& each = {}) {
        for (std::uint32_t t = 0; t < ms; t += 50) {
            world_->SetClock(world_->Now() + 50);
            frame_->Run(*world_, 50);
            if (each) each();
        }
    }
    sandbox::Ped& Cop() { return *world_->FindPed("cop"); }
    // What the plugin does each frame to a cop it holds as lost.
    void HoldOut(sandbox::Ped& cop) {
        cop.SetPosition({0, -80, 0});  // searching elsewhere, beyond the host's re-listing
        cop.m_nPursuitSuppressed = 1;
        cop.DropCriminal(world_->Player());
        cop.tasks.clear();
    }

    sandbox::Scenario scenario_;
    std::optional<sandbox::World> world_;
    std::optional<sandbox::HostFrame> frame_;
};

TEST_F(HostRulesTest, TheLevelIsClearedOnlyAfterTheWholeQuietSpellAndNeverWithTheRuleOff) {
    struct Case {
        std::uint32_t clearMs;
        std::uint32_t quietMs;
        bool cleared;
    };
    for (const Case c : {Case{5000, 4900, false}, Case{5000, 5100, true}, Case{0, 60000, false}}) {
        SCOPED_TRACE(c.clearMs);
        Build(Street(false), {true, c.clearMs, std::nullopt, 0});
        RunFor(1000);  // the cop pursues: nothing is cleared however long
        EXPECT_EQ(world_->Wanted().m_nWantedLevel, 2u);
        RunFor(c.quietMs, [&] { HoldOut(Cop()); });
        EXPECT_EQ(world_->Wanted().m_nWantedLevel, c.cleared ? 0u : 2u);
        EXPECT_EQ(frame_->WantedCleared(), c.cleared);
    }
}

TEST_F(HostRulesTest, APursuitInTheMiddleStartsTheQuietSpellAgain) {
    Build(Street(false), {true, 5000, std::nullopt, 0});
    RunFor(4000, [&] { HoldOut(Cop()); });
    Cop().m_nPursuitSuppressed = 0;
    RunFor(100);  // back on the chase for two frames
    RunFor(4000, [&] { HoldOut(Cop()); });
    EXPECT_EQ(world_->Wanted().m_nWantedLevel, 2u);
    RunFor(1100, [&] { HoldOut(Cop()); });
    EXPECT_EQ(world_->Wanted().m_nWantedLevel, 0u);
}

TEST_F(HostRulesTest, TheQuietSpellIsMeasuredAcrossTheClocksWrap) {
    Build(Street(false), {true, 5000, std::nullopt, 0});
    world_->SetClock(0xFFFFF000u);
    RunFor(3000, [&] { HoldOut(Cop()); });
    EXPECT_EQ(world_->Wanted().m_nWantedLevel, 2u);
    RunFor(2100, [&] { HoldOut(Cop()); });
    EXPECT_EQ(world_->Wanted().m_nWantedLevel, 0u);
}

TEST_F(HostRulesTest, ACopWhoReachesThePlayerOnFootArrestsHimOnlyWithTheRuleOnAndOnlyOnFoot) {
    struct Case {
        std::uint32_t arrestMs;
        bool inCar;
        bool arrested;
    };
    for (const Case c : {Case{1000, false, true}, Case{0, false, false}, Case{1000, true, false}}) {
        SCOPED_TRACE(c.arrestMs + (c.inCar ? 1 : 0));
        sandbox::Scenario s = Street(false);
        if (c.inCar) {
            s.vehicles.push_back({"getaway", 400, {0, 0, 0}, 0.0f, false, std::nullopt});
            s.player.vehicle = "getaway";
        }
        Build(s, {true, 0, std::nullopt, c.arrestMs});
        RunFor(3500);  // 17 m at 5 m/s, then within reach
        EXPECT_FALSE(frame_->Arrested());
        RunFor(1500);
        EXPECT_EQ(frame_->Arrested(), c.arrested);
        EXPECT_EQ(world_->Wanted().m_nWantedLevel, c.arrested ? 0u : 2u);
    }
}

TEST_F(HostRulesTest, AnArrestNeedsTheReachHeldWithoutABreak) {
    Build(Street(false), {true, 0, std::nullopt, 1000});
    RunFor(3500);  // within reach from about here on
    RunFor(500);
    ASSERT_FALSE(frame_->Arrested());
    // One frame out of reach: the hold starts again.
    const sandbox::Vec3 at = world_->Player()->Position();
    world_->Player()->SetPosition(at + sandbox::Vec3{0, 20, 0});
    RunFor(50);
    world_->Player()->SetPosition(at);
    RunFor(800);
    EXPECT_FALSE(frame_->Arrested());
    RunFor(300);
    EXPECT_TRUE(frame_->Arrested());
}

TEST_F(HostRulesTest, AChasingCopGoesRoundAWallOnThePathNetworkAtHisOwnSpeed) {
    Build(Street(true), {true, 0, std::nullopt, 0});
    Cop().runSpeed = 6.0f;
    RunFor(1000);
    // The straight way is walled: he runs along the nodes, sideways first, at 6 m/s.
    EXPECT_NEAR(Length2D(Cop().Position() - sandbox::Vec3{0, -20, 0}), 6.0f, 0.5f);
    EXPECT_GT(std::abs(Cop().Position().x), 2.0f);
    RunFor(15000);
    EXPECT_LE(Length2D(Cop().Position() - world_->Player()->Position()), 3.5f);
}

TEST_F(HostRulesTest, WithoutPathNodesTheWallStillStopsHim) {
    sandbox::Scenario s = Street(true);
    s.world.pedNodes = {};
    Build(s, {true, 0, std::nullopt, 0});
    // Off the 0.25 m stride's grid: a step that lands exactly on a wall's face climbs onto its roof.
    Cop().SetPosition({0, -20.1f, 0});
    RunFor(15000);
    EXPECT_NEAR(Cop().Position().y, -12.0f, 0.6f);
}

}  // namespace
