// The node grid is bounded: a scenario whose grid would be too large, or too far out to step in
// floats, is refused by the loader with its reason, and the grid itself refuses to be built.

#include <gtest/gtest.h>

#include <stdexcept>

#include "navigation/path_network.h"
#include "scenario/scenario_loader.h"
#include "world/geometry.h"

namespace {

using sandbox::PathNetwork;

std::string LoadError(const std::string& player, const std::string& events) {
    try {
        sandbox::ParseScenario(R"({ "durationMs": 1000, "world": { "pedNodes": { "spacing": 10 } },
                                    "player": )" +
                                   player + R"(, "events": [ )" + events + " ] }",
                               "grid.json");
    } catch (const sandbox::ScenarioError& e) {
        return e.what();
    }
    return "";
}

TEST(GridBoundTest, TheNodeLimitHoldsToTheLastNode) {
    // 500 x 500 lines every 10 m from 0 to 4990.
    EXPECT_EQ(PathNetwork::GridProblem(10, {0, 0, 0}, {4990, 4990, 0}), "");
    EXPECT_NE(PathNetwork::GridProblem(10, {0, 0, 0}, {5000, 4990, 0}), "");
    EXPECT_NE(PathNetwork::GridProblem(10, {0, 0, 0}, {4990, 5000, 0}), "");
    EXPECT_THROW(PathNetwork::Grid(1, {0, 0, 0}, {1000, 1000, 0}, sandbox::Geometry{}), std::length_error);
}

TEST(GridBoundTest, TheLoaderNamesTheGridAndWhyItCannotBeBuilt) {
    const std::string warp = R"({ "at": 10, "do": "playerWarp", "to": [3e38, 3e38, 0] })";
    EXPECT_EQ(
        LoadError(R"({ "pos": [0, 0, 0] })", warp),
        "grid.json: world.pedNodes: a grid every 10 m over x -60 to 3e+38, y -60 to 3e+38 would hold "
        "9e+74 path nodes, more than the limit of 250000; use a larger spacing, a list of points, or keep "
        "the scenario in a smaller area");
    // A small town far out, where float steps of 10 m are lost.
    EXPECT_EQ(
        LoadError(R"({ "pos": [3e8, 0, 0] })", ""),
        "grid.json: world.pedNodes: coordinates as large as 3e+08 cannot be stepped every 10 m in single "
        "precision; use a larger spacing or keep the scenario nearer the origin");
    // A long walk that stays within the limit is fine (about 170000 nodes).
    EXPECT_EQ(LoadError(R"({ "pos": [0, 0, 0] })",
                        R"({ "at": 10, "do": "playerMove", "to": [4000, 4000, 0], "speed": 6 })"),
              "");
}

}  // namespace
