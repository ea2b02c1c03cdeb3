// Hits on cops, who is blamed, who joins the defence, and how it ends.

#include <gtest/gtest.h>

#include <utility>

#include "plugin/search/foot/foot_scenario.h"
#include "scenario/scenario.h"

namespace {

using namespace foot_test;
using awareness_test::ClockStart;
using awareness_test::ExpectTimeLimit;

std::string Gang(const std::string& id, float x, float y, float health = 100.0f) {
    char text[160];
    std::snprintf(text, sizeof text, R"({ "id": "%s", "type": 7, "pos": [%g, %g, 0], "health": %g })",
                  id.c_str(), static_cast<double>(x), static_cast<double>(y), static_cast<double>(health));
    return text;
}

void Hit(Session& s, const std::string& cop, CEntity* by, float amount) {
    s.Ped(cop).m_fHealth -= amount;
    s.Ped(cop).m_pLastDamageEntity = by;
}

CEntity* PedEntity(Session& s, const std::string& id) { return s.World().FindPed(id); }

// "gang" hits "cop" after the first tick; the cop attacks him on the next.
void StartDefence(Session& s) {
    s.RunFor(150);
    Hit(s, "cop", PedEntity(s, "gang"), 10.0f);
    s.RunFor(150);
}

TEST(SelfDefenceTest, AHitCountsFromMoreThanHalfAPointAndNeverOnTheFirstTick) {
    Session s(Peds(Cop("cop", 0, -20) + ", " + Gang("gang", 0, -25)));
    Hit(s, "cop", PedEntity(s, "gang"), 5.0f);  // before his record exists
    s.RunFor(150);
    s.Frame(50);
    Hit(s, "cop", PedEntity(s, "gang"), 0.5f);
    s.RunFor(150);
    EXPECT_EQ(s.Count("defend: *"), 0);
    Hit(s, "cop", PedEntity(s, "gang"), 0.6f);
    s.RunFor(150);
    EXPECT_EQ(s.Count("defend: cop attacked: ped=* attacker=* type=7"), 1);
    EXPECT_EQ(s.Count("defend: attacking: ped=* target=*"), 1);
    const auto attacks = Calls(s.World(), 0x05E2);
    ASSERT_EQ(attacks.size(), 1u);
    EXPECT_EQ(attacks[0].args[1].i, s.World().Peds().HandleOf(s.World().FindPed("gang")));
}

TEST(SelfDefenceTest, ThePlayerCopsTheDeadAndEmptyCarsStartNothingButADriverDoes) {
    const std::string vehicles = R"(, "vehicles": [ { "id": "empty", "model": 400, "pos": [10, -20, 0] },
        { "id": "driven", "model": 400, "pos": [-10, -20, 0] } ])";
    Session s(
        Peds(
            Cop("cop", 0, -20) + ", " + Cop("other", 2, -20) + ", " + Gang("dead", 0, -25, 0) + ", " +
            R"({ "id": "driver", "type": 7, "pos": [-10, -20, 0], "vehicle": "driven", "seat": "driver" })") +
        vehicles);
    s.RunFor(150);
    CEntity* sources[] = {s.World().Player(), PedEntity(s, "other"), PedEntity(s, "dead"),
                          s.World().FindVehicle("empty")};
    for (CEntity* source : sources) {
        Hit(s, "cop", source, 5.0f);
        s.RunFor(150);
    }
    EXPECT_EQ(s.Count("defend: *"), 0);
    Hit(s, "cop", s.World().FindVehicle("driven"), 5.0f);
    s.RunFor(150);
    char line[96];
    std::snprintf(line, sizeof line, "defend: cop attacked: ped=* attacker=%p type=7",
                  static_cast<void*>(static_cast<CPed*>(s.World().FindPed("driver"))));
    EXPECT_EQ(s.Count(line), 1);
}

TEST(SelfDefenceTest, CopsWithinShareRangeJoinButNotFartherOnesNorHelicopterCrews) {
    const std::string heli = R"(, "vehicles": [ { "id": "heli", "model": 497, "pos": [0, -10, 10] } ])";
    Session s(
        Peds(Cop("hit", 0, -20) + ", " + Cop("near", 0, 9, 0) + ", " + Cop("far", 0, -51) + ", " +
             R"({ "id": "pilot", "type": 6, "pos": [0, -10, 10], "vehicle": "heli", "seat": "driver" }, )" +
             Gang("gang", 0, -25)) +
            heli,
        "DefendShareRange=30\n");
    s.RunFor(150);
    Hit(s, "hit", PedEntity(s, "gang"), 10.0f);
    s.RunFor(150);
    EXPECT_EQ(s.Count("defend: attacking: *"), 2);
    EXPECT_EQ(Calls(s.World(), 0x05E2).size(), 2u);
    const auto attackers = Calls(s.World(), 0x05E2);
    const auto handle = [&](const char* id) { return s.World().Peds().HandleOf(s.World().FindPed(id)); };
    EXPECT_EQ(attackers[0].args[0].i, handle("hit"));
    EXPECT_EQ(attackers[1].args[0].i, handle("near"));
}

TEST(SelfDefenceTest, AnAttackerOutOfRangeEndsTheAttackWhichResumesWhenHeReturns) {
    Session s(Peds(Cop("cop", 0, -20) + ", " + Gang("gang", 0, -22)), "DefendRange=45\n");
    StartDefence(s);
    ASSERT_EQ(s.Count("defend: attacking: *"), 1);
    s.Ped("cop").m_pIntelligence->FlushImmediately(true);  // he stops chasing the attacker
    s.Ped("gang").SetPosition({0, 26, 0});                 // 46 m from the cop
    s.RunFor(150);
    EXPECT_EQ(s.Count("defend: finished: ped=*"), 1);
    s.Ped("gang").SetPosition({0, -30, 0});
    s.RunFor(150);
    EXPECT_EQ(s.Count("defend: attacking: *"), 2);
}

TEST(SelfDefenceTest, TheWindowRunsOutAndTheAttackIsRepeatedWhileItLasts) {
    Session s(Peds(Cop("cop", 0, -20) + ", " + Gang("gang", 0, -22, 1000)), "DefendDurationMs=12000\n");
    StartDefence(s);  // attack at 300
    s.RunFor(10050);
    EXPECT_EQ(s.Count("defend: attacking: *"), 2);  // again at 10350
    s.RunFor(2100);
    EXPECT_EQ(s.Count("defend: finished: ped=*"), 1);  // over at 12300
}

TEST(SelfDefenceTest, APedNewInTheAttackersSlotIsNotAttacked) {
    Session s(Peds(Cop("cop", 0, -20) + ", " + Gang("gang", 0, -22)));
    StartDefence(s);
    ASSERT_EQ(s.Count("defend: attacking: *"), 1);
    CPed* old = s.World().FindPed("gang");
    s.World().Remove("gang");
    sandbox::PedSpec setup;
    setup.id = "passer-by";
    setup.type = 7;
    setup.pos = {0, -22, 0};
    CPed* fresh = s.World().SpawnPed(setup);
    ASSERT_EQ(fresh, old);  // the same slot, a new handle
    s.RunFor(150);
    EXPECT_EQ(s.Count("defend: finished: ped=*"), 1);
    s.RunFor(1500);
    EXPECT_EQ(s.Count("defend: attacking: *"), 1);
    EXPECT_EQ(Calls(s.World(), 0x05E2).size(), 1u);
}

TEST(SelfDefenceTest, ACopInAStoppedCarGetsOutFirst) {
    const std::string car = R"(, "vehicles": [ { "id": "car", "model": 596, "pos": [0, -20, 0] } ])";
    Session s(Peds(R"({ "id": "cop", "type": 6, "pos": [0, -20, 0], "vehicle": "car", "seat": "driver" }, )" +
                   Gang("gang", 0, -26)) +
              car);
    StartDefence(s);
    EXPECT_EQ(s.Count("defend: leaving car to fight: ped=*"), 1);
    EXPECT_EQ(Calls(s.World(), 0x0633).size(), 1u);
    s.RunFor(1200);  // out after 1 s: now he attacks on foot
    EXPECT_EQ(s.Count("defend: attacking: *"), 1);
}

TEST(SelfDefenceTest, SwitchedOffNothingIsNoticed) {
    Session s(Peds(Cop("cop", 0, -20) + ", " + Gang("gang", 0, -25)), "DefendEnabled=0\n");
    StartDefence(s);
    s.RunFor(450);
    EXPECT_EQ(s.Count("defend: *"), 0);
}

// The limits of a defence, each met exactly, a step short and a step past.
TEST(SelfDefenceTest, ADefenceHoldsWithTheAttackerAtDefendRangeButNotBeyond) {
    for (const auto& [gangY, finished] : {std::pair{25.0f, false}, {24.99f, false}, {25.01f, true}}) {
        Session s(Peds(Cop("cop", 0, -20) + ", " + Gang("gang", 0, -22)), "DefendRange=45\n");
        s.RunFor(150);
        Hit(s, "cop", PedEntity(s, "gang"), 10.0f);
        ASSERT_TRUE(s.RunUntil("defend: attacking: *"));
        s.Ped("cop").m_pIntelligence->FlushImmediately(true);
        s.Ped("cop").SetPosition({0, -20, 0});
        s.Ped("gang").SetPosition({0, gangY, 0});  // 45 m from the cop, give or take
        s.TickAfter(150);
        EXPECT_EQ(s.Count("defend: finished: ped=*"), finished ? 1 : 0) << gangY;
    }
}

TEST(SelfDefenceTest, CopsUpToDefendShareRangeFromTheHitOneJoinHim) {
    for (const auto& [nearY, joins] : {std::pair{10.0f, true}, {9.99f, true}, {10.01f, false}}) {
        Session s(Peds(Cop("hit", 0, -20) + ", " + Cop("near", 0, nearY) + ", " + Gang("gang", 0, -25)),
                  "DefendShareRange=30\n");
        s.RunFor(150);
        Hit(s, "hit", PedEntity(s, "gang"), 10.0f);
        ASSERT_TRUE(s.RunUntil("defend: attacking: *"));
        EXPECT_EQ(Calls(s.World(), 0x05E2).size(), joins ? 2u : 1u) << nearY;
    }
}

// Over only once DefendDurationMs have passed since the hit's tick, also with the clock wrapping.
TEST(SelfDefenceTest, ADefenceEndsOnlyPastItsTime) {
    ExpectTimeLimit(
        [](std::uint32_t start, int shift, std::uint32_t* hitAt) {
            Session s(ClockStart(start) + Peds(Cop("cop", 0, -20) + ", " + Gang("gang", 0, -22, 1000)),
                      "DefendDurationMs=" + std::to_string(1500 - shift) + "\n");
            s.RunFor(150);
            Hit(s, "cop", PedEntity(s, "gang"), 10.0f);
            EXPECT_TRUE(s.RunUntil("defend: attacking: *"));
            if (hitAt != nullptr) *hitAt = s.World().Now();
            s.TickAfter(1500);
            return s.Count("defend: finished: ped=*") == 1;
        },
        {false, false, true});
}

// A new hit hands out a fresh order at once, even from the attacker the cop already has.
TEST(SelfDefenceTest, AFreshHitByTheSameAttackerRenewsTheOrderAtOnce) {
    Session s(Peds(Cop("cop", 0, -20) + ", " + Gang("gang", 0, -22, 1000)));
    StartDefence(s);
    ASSERT_EQ(s.Count("defend: attacking: *"), 1);
    s.RunFor(900);
    Hit(s, "cop", PedEntity(s, "gang"), 10.0f);
    s.RunFor(300);
    EXPECT_EQ(s.Count("defend: attacking: *"), 2);
}

// A lost cop who searched on foot before he defended himself is taken over afresh when it ends.
TEST(SelfDefenceTest, AfterADefenceALostCopsFootSearchStartsOver) {
    BlindSession s(Peds(Cop("cop", 0, -20, 0, 180) + ", " + Gang("gang", 0, -22)), "LookChance=0\n");
    s.RunFor(kLossMs + 150);
    ASSERT_EQ(s.Count("pursuit task flushed: ped=*"), 1);
    Hit(s, "cop", PedEntity(s, "gang"), 10.0f);
    ASSERT_TRUE(s.RunUntil("defend: attacking: *"));
    s.World().Remove("gang");
    ASSERT_TRUE(s.RunUntil("defend: finished: ped=*"));
    s.RunFor(150);
    EXPECT_EQ(s.Count("pursuit task flushed: ped=*"), 2);
    EXPECT_EQ(s.Count("sweeping: ped=* leg=1 *"), 2);
}

// A defence that ended with its attacker gone leaves the cop free to join the next one at once.
TEST(SelfDefenceTest, ACopWhoseAttackerIsGoneJoinsTheNextDefence) {
    Session s(Peds(Cop("a", 0, -20) + ", " + Cop("b", 5, -20) + ", " + Gang("g1", 0, -22) + ", " +
                   Gang("g2", 5, -22)),
              "DefendShareRange=1\n");
    s.RunFor(150);
    Hit(s, "a", PedEntity(s, "g1"), 10.0f);
    ASSERT_TRUE(s.RunUntil("defend: attacking: *"));
    s.World().Remove("g1");
    ASSERT_TRUE(s.RunUntil("defend: finished: ped=*"));
    s.Ped("a").SetPosition({5, -20, 0});  // now beside b
    Hit(s, "b", PedEntity(s, "g2"), 10.0f);
    s.RunFor(150);
    EXPECT_EQ(s.Count("defend: attacking: *"), 3);
}

}  // namespace
