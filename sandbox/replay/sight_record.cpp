#include "replay/sight_record.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "geometry/geometry.h"
#include "replay/json_text.h"
#include "world/world.h"

namespace sandbox {

namespace {

// A question belongs to a cop whose eyes are within this of where it was asked from.
constexpr float kMatchTolerance = 0.01f;
// Metres around a vehicle's bounds within which a line is tested exactly.
constexpr float kVehicleMargin = 1.0f;

}  // namespace

std::string SightBlocker(World& world, const SightQuery& q) {
    const auto& boxes = world.Geometry().Boxes();
    int nearest = -1;
    float nearestDistance = 0.0f;
    // A box outside the segment's own bounds cannot stop it: most are ruled out by that alone.
    const Vec3 low{std::min(q.from.x, q.to.x), std::min(q.from.y, q.to.y), std::min(q.from.z, q.to.z)};
    const Vec3 high{std::max(q.from.x, q.to.x), std::max(q.from.y, q.to.y), std::max(q.from.z, q.to.z)};
    // The world's index hands over only the boxes near the line, in its own order: of boxes at the
    // same distance the first in the world still wins.
    world.Geometry().ForEachOnSegment(q.from, q.to, [&](std::uint32_t index) {
        const auto& b = boxes[index];
        if (b.max.x < low.x || b.min.x > high.x || b.max.y < low.y || b.min.y > high.y || b.max.z < low.z ||
            b.min.z > high.z)
            return;
        if (!SegmentHitsBox(q.from, q.to, b.min, b.max)) return;
        const float d = Length((b.min + b.max) * 0.5f - q.from);
        const int i = static_cast<int>(index);
        if (nearest < 0 || d < nearestDistance || (d == nearestDistance && i < nearest)) {
            nearest = i;
            nearestDistance = d;
        }
    });
    std::string out;
    if (nearest >= 0) {
        AppendInt(out, nearest);
        return out;
    }
    if (q.vehiclesBlock) {
        // The exact test has its own answer for a line with an end that is not finite.
        const bool finite = std::isfinite(q.from.x) && std::isfinite(q.from.y) && std::isfinite(q.from.z) &&
                            std::isfinite(q.to.x) && std::isfinite(q.to.y) && std::isfinite(q.to.z);
        for (int i = 0; i < world.Vehicles().Size(); ++i) {
            const Vehicle* v = world.Vehicles().At(i);
            if (v == nullptr) continue;
            // However it is turned, a vehicle stays within the circle round its corners; with a
            // margin far beyond any rounding, a line clear of that is clear of the vehicle.
            const Vec3 base = v->Position();
            const Vec3 half = v->HalfExtents();
            const float reach = std::sqrt(half.x * half.x + half.y * half.y) + kVehicleMargin;
            if (finite && (high.x < base.x - reach || low.x > base.x + reach || high.y < base.y - reach ||
                           low.y > base.y + reach || high.z < base.z - kVehicleMargin ||
                           low.z > base.z + 2.0f * half.z + kVehicleMargin))
                continue;
            if (SegmentHitsTurnedBox(q.from, q.to, base, half, v->m_fHeading)) {
                AppendString(out, v->id);
                return out;
            }
        }
    }
    return "null";
}

int SightRecord::FindAsker(World& world, Vec3 from, int cursor,
                           const std::function<bool(const Ped&)>& wouldAsk) const {
    const Vec3 feet = from - Vec3{0.0f, 0.0f, kEyeHeight};
    const int size = world.Peds().Size();
    int first = -1;
    for (int n = 0; n < size; ++n) {
        const int i = (cursor + n) % size;
        const Ped* ped = world.Peds().At(i);
        // Only live cops ask: a dead one sitting in the same seat position is passed over.
        if (ped == nullptr || ped->m_nPedType != PED_TYPE_COP || !(ped->m_fHealth > 0.0f) ||
            servedRound_[static_cast<std::size_t>(i)] == round_ ||
            Length(ped->Position() - feet) > kMatchTolerance)
            continue;
        // Crews share a place: of cops in vehicles (two cars on one spot) the question goes to one
        // the plugin would ask, to the first of them when none seems to. Cops on foot seldom stand
        // on one spot, and are not asked about, which spares the test for most questions.
        if (!ped->m_bInVehicle || wouldAsk(*ped)) return i;
        if (first < 0) first = i;
    }
    return first;
}

bool SightRecord::Take(World& world, int sample, const std::function<int(const Ped&)>& copIndex,
                       const std::function<bool(const Ped&)>& wouldAsk) {
    std::vector<SightQuery>& queries = world.SightQueries().recent;
    if (queries.empty()) return false;
    // The plugin asks for its live cops in pool order; cops sharing a seat position (a car's crew)
    // each ask the same question, so each question goes to the next of them not yet served.
    // The search starts after the last cop served, where the next question nearly always is.
    const int size = world.Peds().Size();
    // A cop served by this call carries its round: no list of them to search.
    if (servedRound_.size() < static_cast<std::size_t>(size))
        servedRound_.resize(static_cast<std::size_t>(size), 0);
    if (++round_ == 0) {
        std::fill(servedRound_.begin(), servedRound_.end(), 0u);
        round_ = 1;
    }
    int cursor = 0;
    for (const SightQuery& q : queries) {
        const int slot = FindAsker(world, q.from, cursor, wouldAsk);
        if (slot < 0) {
            Write(world, sample, -1, nullptr, q);
            continue;
        }
        const Ped* asker = world.Peds().At(slot);
        cursor = slot + 1;
        servedRound_[static_cast<std::size_t>(slot)] = round_;
        last_[world.Peds().HandleOf(asker)] = {sample, q.clear};
        Write(world, sample, copIndex(*asker), asker, q);
    }
    queries.clear();
    return true;
}

void SightRecord::Write(World& world, int sample, int cop, const Ped* ped, const SightQuery& q) {
    // "[sample,cop,clear" put together before one append.
    char head[32];
    char* at = head + 1;
    *at++ = '[';
    at = std::to_chars(at, at + 11, sample).ptr;
    *at++ = ',';
    at = std::to_chars(at, at + 11, cop).ptr;
    *at++ = ',';
    *at++ = q.clear ? '1' : '0';
    std::string& out = items_.AddItem(head, static_cast<std::size_t>(at - head));
    if (!q.clear) {
        out += ',';
        out += SightBlocker(world, q);
    }
    const Vec3 eye{0.0f, 0.0f, kEyeHeight};
    const bool usual = ped != nullptr && Length(world.Player()->Position() + eye - q.to) <= kMatchTolerance;
    if (!usual) {
        if (q.clear) out += ",null";
        out += ',';
        AppendPoint(out, q.from);
        out += ',';
        AppendPoint(out, q.to);
    }
    out += ']';
}

std::optional<bool> SightRecord::AnswerIn(int handle, int sample) const {
    const auto it = last_.find(handle);
    if (it == last_.end() || it->second.sample != sample) return std::nullopt;
    return it->second.clear;
}

}  // namespace sandbox
