#include "replay/host_view.h"

#include "world/world.h"

namespace sandbox {

namespace {

nlohmann::json Flat(Vec3 p) { return {p.x, p.y}; }

}  // namespace

const char* ActivityName(int kind) {
    switch (static_cast<Activity::Kind>(kind)) {
        case Activity::Kind::lookAbout: return "lookAbout";
        case Activity::Kind::aim: return "aim";
        case Activity::Kind::attack: return "attack";
        case Activity::Kind::none: break;
    }
    return "";
}

nlohmann::json WorldLayout(const World& world) {
    const PathNetwork& network = world.PathNetwork();
    nlohmann::json nodes = nlohmann::json::array();
    for (const Vec3& node : network.Nodes()) nodes.push_back(Flat(node));
    // Each link once, from the lower index, so the page carries half of what the network holds.
    nlohmann::json links = nlohmann::json::array();
    for (std::size_t i = 0; i < network.Links().size(); ++i) {
        for (int j : network.Links()[i]) {
            if (static_cast<std::size_t>(j) > i) links.push_back({i, j});
        }
    }
    nlohmann::json holes = nlohmann::json::array();
    for (const GroundHole& hole : world.Geometry().holes) {
        holes.push_back({hole.minX, hole.minY, hole.maxX, hole.maxY});
    }
    return {{"nodes", nodes}, {"links", links}, {"noGround", holes}};
}

}  // namespace sandbox
