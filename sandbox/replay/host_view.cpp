#include "replay/host_view.h"

#include <map>
#include <string>

#include "world/world.h"

namespace sandbox {

namespace {

nlohmann::json Flat(Vec3 p) { return {p.x, p.y}; }

const char* ActivityName(Activity::Kind kind) {
    switch (kind) {
        case Activity::Kind::lookAbout: return "lookAbout";
        case Activity::Kind::aim: return "aim";
        case Activity::Kind::attack: return "attack";
        case Activity::Kind::none: break;
    }
    return "";
}

}  // namespace

nlohmann::json WorldLayout(const World& world) {
    const PathNetwork& network = world.Nodes();
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
    for (const GroundHole& hole : world.World3D().holes) {
        holes.push_back({hole.minX, hole.minY, hole.maxX, hole.maxY});
    }
    return {{"nodes", nodes}, {"links", links}, {"noGround", holes}};
}

void AddHostOrders(World& world, nlohmann::json& sample) {
    std::map<std::string, const Ped*> byId;
    for (int i = 0; i < world.Peds().Size(); ++i) {
        if (const Ped* ped = world.Peds().At(i)) byId[ped->id] = ped;
    }
    for (nlohmann::json& cop : sample["cops"]) {
        auto it = byId.find(cop.value("id", ""));
        if (it == byId.end()) continue;
        const Ped& ped = *it->second;
        if (ped.moving && !ped.move.waypoints.empty()) {
            nlohmann::json move = nlohmann::json::array();
            for (const Vec3& point : ped.move.waypoints) move.push_back(Flat(point));
            cop["move"] = std::move(move);
        }
        if (ped.activity.kind != Activity::Kind::none) {
            cop["activity"] = ActivityName(ped.activity.kind);
            if (ped.activity.kind == Activity::Kind::aim) cop["aimAt"] = Flat(ped.activity.point);
        }
    }
    const Hud& hud = world.HudState();
    sample["stars"] = {{"flashing", hud.drawnFlashing}, {"visible", hud.drawnVisible}};
}

}  // namespace sandbox
