// What blocked a sight line, found through the world's box index and a cheap test of the vehicles
// near the line, must be what testing every box and every vehicle finds.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "geometry/geometry.h"
#include "replay/json_text.h"
#include "replay/sight_record.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "world/world.h"

namespace {

// The nearest box the line passes through (by its centre; the first of equals), else the first
// vehicle in the way when vehicles count, tested one by one.
std::string EveryBoxAndVehicle(sandbox::World& world, const sandbox::SightQuery& q) {
    const auto& boxes = world.Geometry().Boxes();
    int nearest = -1;
    float nearestDistance = 0.0f;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (!sandbox::SegmentHitsBox(q.from, q.to, boxes[i].min, boxes[i].max)) continue;
        const float d = sandbox::Length((boxes[i].min + boxes[i].max) * 0.5f - q.from);
        if (nearest < 0 || d < nearestDistance) {
            nearest = static_cast<int>(i);
            nearestDistance = d;
        }
    }
    std::string out;
    if (nearest >= 0) {
        sandbox::AppendInt(out, nearest);
        return out;
    }
    for (int i = 0; q.vehiclesBlock && i < world.Vehicles().Size(); ++i) {
        const sandbox::Vehicle* v = world.Vehicles().At(i);
        if (v != nullptr &&
            sandbox::SegmentHitsTurnedBox(q.from, q.to, v->Position(), v->HalfExtents(), v->m_fHeading)) {
            sandbox::AppendString(out, v->id);
            return out;
        }
    }
    return "null";
}

TEST(SightBlockerTest, TheIndexFindsWhatTestingEverythingFinds) {
    // A grid of blocks, half of them twice (equal distances), a low wall, cars at all headings and a
    // helicopter low over the street.
    std::string boxes;
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j < 6; ++j) {
            const int x = i * 30;
            const int y = j * 30;
            const int top = 4 + (i * 7 + j * 3) % 20;
            const std::string box = "{\"id\":\"b" + std::to_string(i * 6 + j) + "\",\"min\":[" +
                                    std::to_string(x) + "," + std::to_string(y) + ",0],\"max\":[" +
                                    std::to_string(x + 18) + "," + std::to_string(y + 18) + "," +
                                    std::to_string(top) + "]}";
            boxes += box + ",";
            if ((i + j) % 2 == 0) {  // the same block again under another name
                std::string twin = box;
                twin.replace(twin.find("\"b"), 2, "\"twin");
                boxes += twin + ",";
            }
        }
    }
    boxes += R"({"id":"wall","min":[-20,-5,0],"max":[200,-4,1.5]})";
    std::string vehicles;
    for (int n = 0; n < 24; ++n) {
        vehicles += "{\"id\":\"car" + std::to_string(n) + "\",\"model\":596,\"pos\":[" +
                    std::to_string(22 + (n % 6) * 30) + "," + std::to_string(5 + (n / 6) * 30) +
                    ",0],\"heading\":" + std::to_string(n * 0.7) + "},";
    }
    vehicles += R"({"id":"heli","model":497,"pos":[80,52,6]})";
    const sandbox::Scenario scenario = sandbox::ParseScenario(
        R"({ "durationMs": 1000, "player": { "pos": [-30, -30, 0] }, "world": { "boxes": [)" + boxes +
            R"(] }, "vehicles": [)" + vehicles + "] }",
        "blocker.json");
    sandbox::World world(sandbox::ScenarioWorld(scenario));

    std::mt19937 random(11);
    std::uniform_real_distribution<float> across(-30.0f, 200.0f);
    std::uniform_real_distribution<float> height(0.0f, 12.0f);
    std::uniform_real_distribution<float> near(-8.0f, 8.0f);
    int blocked = 0;
    int byVehicle = 0;
    for (int n = 0; n < 20000; ++n) {
        sandbox::SightQuery q;
        if (n % 2) {  // a long line across the town
            q.from = {across(random), across(random), height(random)};
            q.to = {across(random), across(random), height(random)};
        } else {  // a short one at eye height past a vehicle
            const sandbox::Vehicle& v = *world.FindVehicle("car" + std::to_string(n / 2 % 24));
            q.from = v.Position() + sandbox::Vec3{near(random), near(random), 1.0f + near(random) / 8.0f};
            q.to = v.Position() + sandbox::Vec3{near(random), near(random), 1.0f + near(random) / 8.0f};
        }
        q.vehiclesBlock = n % 3 != 0;
        const std::string expected = EveryBoxAndVehicle(world, q);
        ASSERT_EQ(sandbox::SightBlocker(world, q), expected) << "line " << n;
        blocked += expected != "null";
        byVehicle += expected.starts_with('"');
    }
    // The lines met boxes and vehicles often enough to mean something.
    EXPECT_GT(blocked, 5000);
    EXPECT_GT(byVehicle, 200);
}

}  // namespace
