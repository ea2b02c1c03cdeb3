#include "scenario/world_section.h"

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "navigation/path_network.h"
#include "scenario/scenario_area.h"
#include "scenario/value_readers.h"

namespace sandbox::loader {

namespace {

// The corners of an area over `axes` axes (x, y and maybe z); min may not exceed max on any of them.
std::pair<std::vector<float>, std::vector<float>> ReadCorners(const Fields& f, std::size_t axes) {
    const auto corner = [axes](const Json& v, const std::string& p) {
        return ReadNumbers(v, p, axes, -kMaxCoordinate, kMaxCoordinate);
    };
    std::vector<float> lo = f.Req("min", corner);
    std::vector<float> hi = f.Req("max", corner);
    for (std::size_t axis = 0; axis < axes; ++axis) {
        if (lo[axis] > hi[axis]) {
            Fail(f.PathOf("max"), "below min on some axis");
        }
    }
    return {lo, hi};
}

PedNodes ReadPedNodes(const Json& nodes, const std::string& path) {
    PedNodes pedNodes;
    if (nodes.is_array()) {
        pedNodes.layout = PedNodes::Layout::points;
        ForEachElement(nodes, path, [&](const Json& value, const std::string& pointPath) {
            pedNodes.points.push_back(ReadVec3(value, pointPath));
        });
        return pedNodes;
    }
    if (!nodes.is_object()) {
        Fail(path, "expected { \"spacing\": S } or a list of points");
    }
    Fields n(nodes, path);
    n.Allow({"spacing"});
    pedNodes.layout = PedNodes::Layout::grid;
    // A finer grid would make the node count explode over a large area.
    pedNodes.spacing = n.Req("spacing", AtLeast(1.0));
    return pedNodes;
}

}  // namespace

WorldSpec ReadWorld(const Fields& f, IdRegistry& ids) {
    WorldSpec world;
    f.Allow({"groundZ", "boxes", "noGround", "pedNodes", "codeBuild", "starCallSites", "town"});
    world.groundZ = f.Opt("groundZ", 0.0f, [](const Json& v, const std::string& p) {
        return ReadReal(v, p, -kMaxCoordinate, kMaxCoordinate);
    });
    if (const Json* boxes = f.Optional("boxes")) {
        ForEachElement(*boxes, f.PathOf("boxes"), [&](const Json& value, const std::string& path) {
            Fields b(value, path);
            b.Allow({"id", "min", "max"});
            Box box;
            box.id = b.Opt("id", std::string(), ReadId);
            const auto [lo, hi] = ReadCorners(b, 3);
            box.min = {lo[0], lo[1], lo[2]};
            box.max = {hi[0], hi[1], hi[2]};
            ids.Declare(box.id, ObjectKind::box, b.PathOf("id"));
            world.boxes.push_back(box);
        });
    }
    if (const Json* areas = f.Optional("noGround")) {
        ForEachElement(*areas, f.PathOf("noGround"), [&](const Json& value, const std::string& path) {
            Fields a(value, path);
            a.Allow({"min", "max"});
            const auto [lo, hi] = ReadCorners(a, 2);
            world.noGround.push_back({lo[0], lo[1], hi[0], hi[1]});
        });
    }
    if (const Json* nodes = f.Optional("pedNodes")) {
        world.pedNodes = ReadPedNodes(*nodes, f.PathOf("pedNodes"));
    }
    world.codeBuild = f.Opt("codeBuild", 1001, Whole(std::numeric_limits<int32_t>::min()));
    world.starCallSites = f.Opt("starCallSites", 2, Whole(0, 255));
    return world;
}

HostSpec ReadHost(const Fields& f) {
    HostSpec host;
    f.Allow({"pursuit", "copCarCounter", "wantedClearMs", "arrestMs"});
    host.pursuit = f.Opt("pursuit", true, ReadBool);
    // Without the host's pursuit nobody pursues, and the rule would clear every level at once.
    host.wantedClearMs = f.Opt("wantedClearMs", host.pursuit ? kDefaultWantedClearMs : 0u, ReadMs);
    host.arrestMs = f.Opt("arrestMs", 0u, ReadMs);
    for (const auto& [key, ms] :
         {std::pair{"wantedClearMs", host.wantedClearMs}, std::pair{"arrestMs", host.arrestMs}}) {
        if (!host.pursuit && ms > 0) {
            Fail(f.PathOf(key), "needs \"pursuit\": true: without the host's pursuit nobody pursues");
        }
    }
    const Json* counter = f.Optional("copCarCounter");
    if (counter != nullptr && !counter->is_null()) {
        host.copCarCounter =
            ReadInt(*counter, f.PathOf("copCarCounter"), std::numeric_limits<int32_t>::min());
    }
    return host;
}

void CheckNodeGrid(const Scenario& scenario) {
    if (scenario.world.pedNodes.layout != PedNodes::Layout::grid) {
        return;
    }
    const auto [lo, hi] = ScenarioArea(scenario);
    if (std::string problem = PathNetwork::GridProblem(scenario.world.pedNodes.spacing, lo, hi);
        !problem.empty()) {
        Fail("world.pedNodes", problem);
    }
}

}  // namespace sandbox::loader
