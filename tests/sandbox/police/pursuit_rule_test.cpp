// Who the host counts as pursuing the player, and that its arrest and its end of a wanted level go by
// that one answer.

#include <gtest/gtest.h>

#include "host/constants.h"
#include "main_loop/host_frame.h"
#include "police/arrest.h"
#include "police/pursuit_rule.h"
#include "pools/host_tasks.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "world/world.h"

namespace {

// The player at the origin; a cop on foot 3 m south; a police car 30 m south with its driver; a
// police helicopter with its pilot.
sandbox::Scenario Scene() {
    return sandbox::ParseScenario(R"({ "durationMs": 1000, "seed": 3,
        "player": { "pos": [0, 0, 0], "wanted": 2 },
        "vehicles": [ { "id": "car", "model": 596, "pos": [0, -30, 0], "lawEnforcer": true },
                      { "id": "heli", "model": 497, "pos": [0, -60, 30], "lawEnforcer": true } ],
        "peds": [ { "id": "foot", "type": 6, "pos": [0, -3, 0] },
                  { "id": "crew", "type": 6, "pos": [0, -30, 0], "vehicle": "car", "seat": "driver" },
                  { "id": "pilot", "type": 6, "pos": [0, -60, 30], "vehicle": "heli", "seat": "driver" } ] })",
                                  "pursuit.json");
}

enum class Who { foot, crew, pilot };

struct CopSetup {
    Who who;
    int flag;     // the pursuit-suppression flag
    bool task;    // a host pursuit task
    bool listed;  // the player on his criminal list
    int mission;  // his vehicle's mission
    bool alive;
    int type;  // ped type
};

sandbox::Ped& Prepare(sandbox::World& world, const CopSetup& c) {
    const char* id = c.who == Who::foot ? "foot" : c.who == Who::crew ? "crew" : "pilot";
    sandbox::Ped& cop = *world.FindPed(id);
    cop.m_nPursuitSuppressed = static_cast<std::uint8_t>(c.flag);
    cop.tasks.clear();
    if (c.task)
        cop.AddTask(cop.m_bInVehicle ? sandbox::kTaskPursuitInVehicle : sandbox::kTaskPursuitOnFoot, 0);
    cop.DropCriminal(world.Player());
    if (c.listed) world.AddCriminal(cop);
    if (cop.m_pVehicle != nullptr)
        cop.m_pVehicle->m_autoPilot.m_nCarMission = static_cast<std::int8_t>(c.mission);
    cop.m_fHealth = c.alive ? 100.0f : 0.0f;
    cop.m_nPedType = c.type;
    return cop;
}

TEST(PursuitRuleTest, OnFootTheTaskOrTheListDecidesInAVehicleTheFlagAndTheChaseMission) {
    struct Case {
        CopSetup setup;
        bool pursues;
    };
    const int cop = PED_TYPE_COP;
    const Case cases[] = {
        {{Who::foot, 1, true, false, 0, true, cop}, true},
        {{Who::foot, 1, false, true, 0, true, cop}, true},
        {{Who::foot, 0, false, false, 0, true, cop}, false},  // the flag alone starts a chase, is none
        {{Who::foot, 1, true, true, 0, false, cop}, false},   // dead
        {{Who::foot, 0, true, true, 0, true, 4}, false},      // no cop
        {{Who::crew, 0, false, false, 4, true, cop}, true},
        {{Who::crew, 0, false, false, 43, true, cop}, true},
        {{Who::crew, 0, true, true, 8, true, cop}, false},  // driving somewhere of the plugin's
        {{Who::crew, 1, true, true, 4, true, cop}, false},  // held out: task and list do not count
        {{Who::pilot, 0, false, false, MISSION_HELI_CHASE, true, cop}, true},
        {{Who::pilot, 0, false, false, 4, true, cop}, false},  // a car's chase is no helicopter's
        {{Who::pilot, 1, true, true, MISSION_HELI_CHASE, true, cop}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const sandbox::Scenario scenario = Scene();
        sandbox::World world(sandbox::ScenarioWorld(scenario));
        const sandbox::Ped& ped = Prepare(world, c.setup);
        EXPECT_EQ(sandbox::PursuesPlayer(ped, *world.Player()), c.pursues);
        EXPECT_FALSE(sandbox::PursuesPlayer(*world.Player(), *world.Player()));
    }
}

// A crew held out of the pursuit in its car keeps what the host gave it (a pursuit task, the player
// listed again and again): the level is cleared all the same, and the car does not follow him.
TEST(PursuitRuleTest, AHeldOutCrewInItsCarLetsTheLevelClearAndItsCarStays) {
    for (const bool heldOut : {true, false}) {
        SCOPED_TRACE(heldOut);
        const sandbox::Scenario scenario = Scene();
        sandbox::World world(sandbox::ScenarioWorld(scenario));
        sandbox::HostFrame frame({true, 2000, std::nullopt, 0});
        for (const char* other : {"foot", "pilot"}) world.FindPed(other)->m_fHealth = 0.0f;
        sandbox::Ped& crew = *world.FindPed("crew");
        const sandbox::Vec3 parked = world.FindVehicle("car")->Position();
        for (std::uint32_t t = 0; t < 3000; t += 50) {
            crew.m_nPursuitSuppressed = heldOut ? 1 : 0;
            world.AddCriminal(crew);
            if (!crew.HasPursuitTask()) crew.AddTask(sandbox::kTaskPursuitInVehicle, 0);
            world.SetClock(world.Now() + 50);
            frame.Run(world, 50);
        }
        EXPECT_EQ(frame.WantedCleared(), heldOut);
        EXPECT_EQ(world.FindVehicle("car")->Position().y == parked.y, heldOut);
    }
}

// The arrest asks the same rule, and a player who runs faster than the cop is not held.
TEST(PursuitRuleTest, AnArrestNeedsAPursuingCopWithinReachWhoIsAsFastAsThePlayer) {
    struct Case {
        bool task;
        bool listed;
        float distance;     // m south of the player
        float playerSpeed;  // m/s; 0 standing
        bool arrested;
    };
    const Case cases[] = {
        {true, false, 3.4f, 0.0f, true},  {false, true, 3.4f, 0.0f, true}, {false, false, 3.4f, 0.0f, false},
        {true, false, 3.6f, 0.0f, false}, {true, false, 3.4f, 5.0f, true}, {true, false, 3.4f, 5.1f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const sandbox::Scenario scenario = Scene();
        sandbox::World world(sandbox::ScenarioWorld(scenario));
        sandbox::Ped& cop = Prepare(world, {Who::foot, 1, c.task, c.listed, 0, true, PED_TYPE_COP});
        cop.runSpeed = 5.0f;
        cop.SetPosition({0, -c.distance, 0});
        sandbox::Ped& player = *world.Player();
        player.moving = c.playerSpeed > 0.0f;
        player.move.speed = c.playerSpeed;
        player.move.waypoints = {{0, 100, 0}};
        sandbox::Arrest arrest(1000);
        arrest.Run(world, 600);
        EXPECT_FALSE(arrest.Made());
        arrest.Run(world, 600);
        EXPECT_EQ(arrest.Made(), c.arrested);
    }
}

}  // namespace
