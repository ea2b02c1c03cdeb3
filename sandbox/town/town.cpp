#include "town/town.h"

#include <cmath>
#include <random>

#include "host/constants.h"

namespace sandbox {

namespace {

// The numbers are documented in docs/host-model.md, "Generated towns".
constexpr int kPoliceCarModel = 596;
constexpr int kCivilianCarModel = 400;
constexpr float kAlley = 4.0f;           // m, least gap between the buildings of one block
constexpr float kHeliHeight = 40.0f;     // m, where a helicopter waits
constexpr float kHeliDistance = 150.0f;  // m from the player, so that it arrives after the chase began
constexpr int kCopType = 6;
constexpr int kPistol = 22;
constexpr int kPistolAmmo = 50;
constexpr int kPlaceTries = 200;     // draws for a start place before the nearest one drawn is taken
constexpr float kCoverClear = 5.0f;  // m under a cover's roof: a bus passes, a ped's eyes are far below
constexpr float kCoverRoof = 1.0f;   // m, thickness of the roof
constexpr float kCoverShare = 0.5f;  // of a block's side: how much of its stretch of street is covered

// Draws from the generator by hand: the library's distributions differ between standard libraries.
class Draws {
public:
    explicit Draws(std::uint32_t seed) : random_(seed) {}
    float Real(float lo, float hi) { return lo + (hi - lo) * static_cast<float>(random_() / 4294967296.0); }
    float Real(std::pair<float, float> range) { return Real(range.first, range.second); }
    int Whole(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }

private:
    std::mt19937 random_;
};

struct Layout {
    const TownLayout& layout;
    float pitch() const { return layout.block + layout.street; }
    /// Centre line of street i across x (or y): streets run between and around the blocks.
    float streetAt(int i) const { return static_cast<float>(i) * pitch() + layout.street / 2.0f; }
    float extentX() const { return streetAt(layout.blocksX); }
    float extentY() const { return streetAt(layout.blocksY); }
};

void AddLine(std::vector<Vec3>& nodes, Vec3 a, Vec3 b, float spacing) {
    const float length = Length2D(b - a);
    const int steps = std::max(1, static_cast<int>(std::ceil(length / spacing)));
    for (int s = 0; s <= steps; ++s) {
        const float t = static_cast<float>(s) / static_cast<float>(steps);
        nodes.push_back(a + (b - a) * t);
    }
}

// The streets' centre lines, and the two alleys that cross each block between its four lots.
std::vector<Vec3> Nodes(const Layout& l) {
    std::vector<Vec3> nodes;
    const float s = l.layout.nodeSpacing;
    for (int i = 0; i <= l.layout.blocksX; ++i)
        AddLine(nodes, {l.streetAt(i), l.streetAt(0), 0}, {l.streetAt(i), l.extentY(), 0}, s);
    for (int j = 0; j <= l.layout.blocksY; ++j)
        AddLine(nodes, {l.streetAt(0), l.streetAt(j), 0}, {l.extentX(), l.streetAt(j), 0}, s);
    const float half = l.layout.block / 2.0f;
    const float edge = l.layout.street / 2.0f;
    for (int i = 0; i < l.layout.blocksX; ++i) {
        for (int j = 0; j < l.layout.blocksY; ++j) {
            const Vec3 mid{l.streetAt(i) + edge + half, l.streetAt(j) + edge + half, 0};
            AddLine(nodes, {mid.x, mid.y - half, 0}, {mid.x, mid.y + half, 0}, s);
            AddLine(nodes, {mid.x - half, mid.y, 0}, {mid.x + half, mid.y, 0}, s);
        }
    }
    // A node where two lines cross is kept once.
    std::vector<Vec3> unique;
    for (Vec3 n : nodes) {
        bool seen = false;
        for (Vec3 u : unique) seen = seen || Length2D(u - n) < 0.5f;
        if (!seen) unique.push_back(n);
    }
    return unique;
}

// One building in each lot of each block, of its own size and height, somewhere inside the lot.
std::vector<Box> Buildings(const Layout& l, Draws& draw) {
    std::vector<Box> boxes;
    const float lot = (l.layout.block - kAlley) / 2.0f;
    for (int i = 0; i < l.layout.blocksX; ++i) {
        for (int j = 0; j < l.layout.blocksY; ++j) {
            for (int q = 0; q < 4; ++q) {
                const float x0 =
                    l.streetAt(i) + l.layout.street / 2.0f + static_cast<float>(q % 2) * (lot + kAlley);
                const float y0 =
                    l.streetAt(j) + l.layout.street / 2.0f + static_cast<float>(q / 2) * (lot + kAlley);
                const float w = std::min(lot, draw.Real(l.layout.building));
                const float d = std::min(lot, draw.Real(l.layout.building));
                const float x = x0 + draw.Real(0.0f, lot - w);
                const float y = y0 + draw.Real(0.0f, lot - d);
                boxes.push_back({"", {x, y, 0.0f}, {x + w, y + d, draw.Real(l.layout.height)}});
            }
        }
    }
    return boxes;
}

// A street node at a distance in range from the player, drawn; the best of the draws when none is.
Vec3 StreetPlace(const std::vector<Vec3>& street, Vec3 player, std::pair<float, float> range, Draws& draw) {
    Vec3 best = street[static_cast<std::size_t>(draw.Whole(static_cast<int>(street.size())))];
    for (int t = 0; t < kPlaceTries; ++t) {
        const Vec3 p = street[static_cast<std::size_t>(draw.Whole(static_cast<int>(street.size())))];
        const float d = Length2D(p - player);
        if (d >= range.first && d <= range.second) return p;
        const float off = std::abs(d - (range.first + range.second) / 2.0f);
        if (off < std::abs(Length2D(best - player) - (range.first + range.second) / 2.0f)) best = p;
    }
    return best;
}

// Roofs over stretches of street drawn without repeats, each centred between its two crossings and
// as wide as the street. Stretches are numbered along the streets across x, then across y.
std::vector<Box> Covers(const Layout& l, Draws& draw) {
    const TownLayout& t = l.layout;
    const int along = (t.blocksX + 1) * t.blocksY;
    std::vector<int> stretches(static_cast<std::size_t>(TownStreetStretches(t)));
    for (std::size_t i = 0; i < stretches.size(); ++i) stretches[i] = static_cast<int>(i);
    std::vector<Box> covers;
    const float half = t.block * kCoverShare / 2.0f;
    const float side = t.street / 2.0f;
    for (int c = 0; c < t.covers; ++c) {
        // A partial shuffle: each cover takes one of the stretches not yet taken.
        const auto k = static_cast<std::size_t>(c + draw.Whole(static_cast<int>(stretches.size()) - c));
        std::swap(stretches[static_cast<std::size_t>(c)], stretches[k]);
        const int s = stretches[static_cast<std::size_t>(c)];
        const bool acrossX = s < along;  // a street running along y, at x = streetAt(i)
        const int i = acrossX ? s / t.blocksY : (s - along) / t.blocksX;
        const int j = acrossX ? s % t.blocksY : (s - along) % t.blocksX;
        const float line = l.streetAt(i);
        const float mid = (l.streetAt(j) + l.streetAt(j + 1)) / 2.0f;
        const Vec3 min =
            acrossX ? Vec3{line - side, mid - half, kCoverClear} : Vec3{mid - half, line - side, kCoverClear};
        const Vec3 max = acrossX ? Vec3{line + side, mid + half, kCoverClear + kCoverRoof}
                                 : Vec3{mid + half, line + side, kCoverClear + kCoverRoof};
        covers.push_back({"", min, max});
    }
    return covers;
}

float HeadingTowards(Vec3 from, Vec3 to) {
    return std::atan2(-(to.x - from.x), to.y - from.y) * 180.0f / 3.14159265f;
}

PedSpec Cop(std::string id, Vec3 pos, float heading, float runSpeed) {
    PedSpec cop;
    cop.id = std::move(id);
    cop.type = kCopType;
    cop.pos = pos;
    cop.heading = heading;
    cop.weapons = {{kPistol, kPistolAmmo}};
    cop.runSpeed = runSpeed;
    return cop;
}

}  // namespace

Town BuildTown(const TownLayout& layout, std::uint32_t seed) {
    Draws draw(seed);
    const Layout l{layout};
    Town town;
    town.nodes = Nodes(l);
    town.boxes = Buildings(l, draw);
    // The streets alone: the alleys are where the player hides, not where the police wait.
    std::vector<Vec3> street;
    for (Vec3 n : town.nodes) {
        const auto onLine = [&](float v, int count) {
            for (int i = 0; i <= count; ++i) {
                if (std::abs(v - l.streetAt(i)) < 0.5f) return true;
            }
            return false;
        };
        if (onLine(n.x, layout.blocksX) || onLine(n.y, layout.blocksY)) street.push_back(n);
    }
    town.playerPos = {l.streetAt(layout.blocksX / 2), l.streetAt(layout.blocksY / 2), 0.0f};
    const std::vector<std::string> pedIds = TownPedIds(layout);
    const std::vector<std::string> vehicleIds = TownVehicleIds(layout);
    std::size_t ped = 0;
    std::size_t vehicle = 0;
    for (int c = 0; c < layout.copsOnFoot; ++c) {
        const Vec3 p = StreetPlace(street, town.playerPos, layout.copDistance, draw);
        town.peds.push_back(
            Cop(pedIds[ped++], p, HeadingTowards(p, town.playerPos), draw.Real(layout.runSpeed)));
    }
    for (int c = 0; c < layout.copCars; ++c) {
        const Vec3 p = StreetPlace(street, town.playerPos, layout.copDistance, draw);
        const std::string& id = vehicleIds[vehicle++];
        town.vehicles.push_back(
            {id, kPoliceCarModel, p, HeadingTowards(p, town.playerPos), true, std::nullopt});
        for (int seat : {kDriverSeat, 0}) {
            PedSpec cop = Cop(pedIds[ped++], p, 0.0f, draw.Real(layout.runSpeed));
            cop.vehicle = id;
            cop.seat = seat;
            town.peds.push_back(cop);
        }
    }
    for (int h = 0; h < layout.helis; ++h) {
        const float angle = draw.Real(0.0f, 6.2831853f);
        const Vec3 p{town.playerPos.x + kHeliDistance * std::cos(angle),
                     town.playerPos.y + kHeliDistance * std::sin(angle), kHeliHeight};
        const std::string& id = vehicleIds[vehicle++];
        town.vehicles.push_back(
            {id, host::kModelPoliceHeli, p, HeadingTowards(p, town.playerPos), true, std::nullopt});
        PedSpec pilot = Cop(pedIds[ped++], p, 0.0f, draw.Real(layout.runSpeed));
        pilot.vehicle = id;
        town.peds.push_back(pilot);
    }
    for (int c = 0; c < layout.parkedCars; ++c) {
        const Vec3 p = street[static_cast<std::size_t>(draw.Whole(static_cast<int>(street.size())))];
        town.vehicles.push_back(
            {vehicleIds[vehicle++], kCivilianCarModel, p, draw.Real(0.0f, 360.0f), false, std::nullopt});
    }
    // Drawn last, so that the rest of a town is the same with or without them.
    for (Box& cover : Covers(l, draw)) town.boxes.push_back(std::move(cover));
    return town;
}

int TownStreetStretches(const TownLayout& layout) {
    return (layout.blocksX + 1) * layout.blocksY + (layout.blocksY + 1) * layout.blocksX;
}

std::vector<std::string> TownPedIds(const TownLayout& layout) {
    std::vector<std::string> ids;
    for (int c = 1; c <= layout.copsOnFoot; ++c) ids.push_back("cop" + std::to_string(c));
    for (int c = 1; c <= layout.copCars; ++c) {
        ids.push_back("police" + std::to_string(c) + "driver");
        ids.push_back("police" + std::to_string(c) + "mate");
    }
    for (int h = 1; h <= layout.helis; ++h) ids.push_back("heli" + std::to_string(h) + "pilot");
    return ids;
}

std::vector<std::string> TownVehicleIds(const TownLayout& layout) {
    std::vector<std::string> ids;
    for (int c = 1; c <= layout.copCars; ++c) ids.push_back("police" + std::to_string(c));
    for (int h = 1; h <= layout.helis; ++h) ids.push_back("heli" + std::to_string(h));
    for (int c = 1; c <= layout.parkedCars; ++c) ids.push_back("car" + std::to_string(c));
    return ids;
}

}  // namespace sandbox
