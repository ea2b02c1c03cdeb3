#include "scenario/town_section.h"

#include <string>
#include <utility>

#include "pools/pool_sizes.h"
#include "scenario/entity_section.h"
#include "scenario/value_readers.h"

namespace sandbox {

namespace {

void PlaceTown(Scenario& scenario) {
    TownPlan& plan = *scenario.town;
    Town town = BuildTown(plan.layout, plan.seed.value_or(scenario.seed));
    scenario.world.boxes.resize(plan.ownBoxes);
    scenario.peds.resize(plan.ownPeds, PedSpec{});
    scenario.vehicles.resize(plan.ownVehicles, VehicleSpec{});
    for (Box& b : town.boxes) scenario.world.boxes.push_back(std::move(b));
    for (PedSpec& p : town.peds) scenario.peds.push_back(std::move(p));
    for (VehicleSpec& v : town.vehicles) scenario.vehicles.push_back(std::move(v));
    scenario.world.pedNodes = {PedNodes::Layout::points, 0.0f, std::move(town.nodes)};
    scenario.player.pos = town.playerPos;
}

}  // namespace

namespace loader {

namespace {

// A [least, most] pair within [lo, hi].
auto Range(double lo, double hi) {
    return [lo, hi](const Json& v, const std::string& p) {
        const std::vector<float> r = ReadNumbers(v, p, 2, lo, hi);
        if (r[0] > r[1]) Fail(p, "the least is above the most");
        return std::pair<float, float>{r[0], r[1]};
    };
}

auto Between(double lo, double hi) {
    return [lo, hi](const Json& v, const std::string& p) { return ReadReal(v, p, lo, hi); };
}

}  // namespace

TownPlan ReadTown(const Fields& f) {
    f.Allow({"blocks", "block", "street", "building", "height", "nodeSpacing", "copsOnFoot", "copCars",
             "helis", "parkedCars", "covers", "copDistance", "runSpeed", "seed"});
    TownPlan plan;
    TownLayout& t = plan.layout;
    if (f.Has("blocks")) {
        const std::vector<float> blocks = f.Req("blocks", [](const Json& v, const std::string& p) {
            const std::vector<float> b = ReadNumbers(v, p, 2, 1, 40);
            if (b[0] != static_cast<float>(static_cast<int>(b[0])) ||
                b[1] != static_cast<float>(static_cast<int>(b[1])))
                Fail(p, "expected whole numbers of blocks");
            return b;
        });
        t.blocksX = static_cast<int>(blocks[0]);
        t.blocksY = static_cast<int>(blocks[1]);
    }
    t.block = f.Opt("block", t.block, Between(20, 500));
    t.street = f.Opt("street", t.street, Between(4, 60));
    t.building = f.Opt("building", t.building, Range(2, 500));
    t.height = f.Opt("height", t.height, Range(1, 500));
    // Nodes are linked only within the path network's link range.
    t.nodeSpacing = f.Opt("nodeSpacing", t.nodeSpacing, Between(2, 20));
    t.copsOnFoot = f.Opt("copsOnFoot", t.copsOnFoot, Whole(0, 100));
    t.copCars = f.Opt("copCars", t.copCars, Whole(0, 40));
    t.helis = f.Opt("helis", t.helis, Whole(0, 8));
    t.parkedCars = f.Opt("parkedCars", t.parkedCars, Whole(0, 60));
    t.covers = f.Opt("covers", t.covers, Whole(0, 400));
    if (t.covers > TownStreetStretches(t)) {
        Fail(f.PathOf("covers"), "more covers than the town has stretches of street (" +
                                     std::to_string(TownStreetStretches(t)) + ")");
    }
    t.copDistance = f.Opt("copDistance", t.copDistance, Range(0, 5000));
    t.runSpeed = f.Opt("runSpeed", t.runSpeed, Range(0.5, 15));
    if (const Json* seed = f.Optional("seed"); seed != nullptr && !(seed->is_string() && *seed == "run")) {
        if (seed->is_string()) Fail(f.PathOf("seed"), "expected a number or \"run\"");
        plan.seed = static_cast<uint32_t>(ReadWhole(*seed, f.PathOf("seed"), 0, UINT32_MAX));
    }
    return plan;
}

void PlaceTownAtLoad(Scenario& scenario, IdRegistry& ids) {
    if (!scenario.town) return;
    TownPlan& plan = *scenario.town;
    if (scenario.world.pedNodes.layout != PedNodes::Layout::none) {
        Fail("world.pedNodes", "a town lays its own path nodes");
    }
    plan.ownBoxes = scenario.world.boxes.size();
    plan.ownPeds = scenario.peds.size();
    plan.ownVehicles = scenario.vehicles.size();
    const std::size_t peds = plan.ownPeds + TownPedIds(plan.layout).size();
    const std::size_t vehicles = plan.ownVehicles + TownVehicleIds(plan.layout).size();
    if (peds > static_cast<std::size_t>(kPedPoolSlots - 1)) {
        Fail("world.town", PoolFull("ped", kPedPoolSlots) + ", the player's included");
    }
    if (vehicles > static_cast<std::size_t>(kVehiclePoolSlots)) {
        Fail("world.town", PoolFull("vehicle", kVehiclePoolSlots));
    }
    for (const std::string& id : TownPedIds(plan.layout)) ids.Declare(id, ObjectKind::ped, "world.town");
    for (const std::string& id : TownVehicleIds(plan.layout))
        ids.Declare(id, ObjectKind::vehicle, "world.town");
    PlaceTown(scenario);
}

}  // namespace loader

void SetRunSeed(Scenario& scenario, std::uint32_t seed) {
    scenario.seed = seed;
    if (scenario.town && !scenario.town->seed) PlaceTown(scenario);
}

}  // namespace sandbox
