#include "awareness/radio_pass.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/settings.h"
#include "records/distance.h"
#include "records/records.h"
#include "records/tick_context.h"

// Every listener asks only the tellers in his own grid cell or the cells next to it. The grid covers the
// square around the player that holds every listed cop, its cells a little wider than the radio's
// range: a teller in range is never more than one cell away, so the answer is that of asking every
// teller, at a cost that grows with the cops, not with their square. Where no grid fits (a range or
// a position that is not a finite number) every teller is asked.

namespace {

constexpr double kHalfSide = 201.0;    // m; the list reaches 200 m from the player
constexpr int kMaxCellsPerSide = 128;  // bounds the grid when the range is tiny
constexpr double kCellMargin = 1.01;   // a cell is this much wider than the range
constexpr int kNone = -1;

class TellerGrid {
public:
    /// False when the range or a teller's position leaves no grid to build.
    bool Build(const std::vector<CVector>& tellers, const CVector& centre, float rangeSq) {
        if (!std::isfinite(rangeSq)) return false;
        const double minCell = 2.0 * kHalfSide / kMaxCellsPerSide;
        const double cell = std::max(std::sqrt(static_cast<double>(rangeSq)) * kCellMargin, minCell);
        perCell_ = 1.0 / cell;
        side_ = static_cast<int>(std::ceil(2.0 * kHalfSide / cell));
        originX_ = static_cast<double>(centre.x) - kHalfSide;
        originY_ = static_cast<double>(centre.y) - kHalfSide;
        if (!std::isfinite(originX_) || !std::isfinite(originY_)) return false;
        if (head_.empty()) head_.assign(kMaxCellsPerSide * kMaxCellsPerSide, kNone);
        entries_.clear();
        // Each teller joins his own cell and the eight around it: a listener reads only his own.
        for (int i = 0, n = static_cast<int>(tellers.size()); i < n; ++i) {
            int cx = 0;
            int cy = 0;
            if (!CellOf(tellers[static_cast<std::size_t>(i)], cx, cy)) {
                Clear();
                return false;
            }
            for (int y = std::max(cy - 1, 0); y <= std::min(cy + 1, side_ - 1); ++y) {
                for (int x = std::max(cx - 1, 0); x <= std::min(cx + 1, side_ - 1); ++x) {
                    int& first = head_[static_cast<std::size_t>(y * side_ + x)];
                    if (first == kNone) used_.push_back(y * side_ + x);
                    entries_.push_back({i, first});
                    first = static_cast<int>(entries_.size()) - 1;
                }
            }
        }
        return true;
    }

    /// Whether any teller near the cell of `at` is in range. `placed` is false for a position
    /// that has no cell; the caller asks every teller then.
    template <class InRange>
    bool AnyNear(const CVector& at, bool& placed, InRange inRange) const {
        int cx = 0;
        int cy = 0;
        placed = CellOf(at, cx, cy);
        if (!placed) return false;
        for (int e = head_[static_cast<std::size_t>(cy * side_ + cx)]; e != kNone;) {
            const Entry& entry = entries_[static_cast<std::size_t>(e)];
            if (inRange(entry.teller)) return true;
            e = entry.next;
        }
        return false;
    }

    /// Empties the cells used, so that the next tick starts from an empty grid without a sweep.
    void Clear() {
        for (int c : used_) head_[static_cast<std::size_t>(c)] = kNone;
        used_.clear();
    }

private:
    // Out-of-square positions join the edge cells: a neighbour stays a neighbour. (Truncation
    // stands in for the floor: it differs only below 0, which the clamp takes to 0 anyway.)
    bool CellOf(const CVector& p, int& cx, int& cy) const {
        const double x = (static_cast<double>(p.x) - originX_) * perCell_;
        const double y = (static_cast<double>(p.y) - originY_) * perCell_;
        if (std::isnan(x) || std::isnan(y)) return false;
        const double last = side_ - 1;
        cx = static_cast<int>(std::clamp(x, 0.0, last));
        cy = static_cast<int>(std::clamp(y, 0.0, last));
        return true;
    }

    double perCell_ = 1.0;  // cells per metre
    int side_ = 1;
    double originX_ = 0.0;
    double originY_ = 0.0;
    struct Entry {
        int teller;
        int next;  // the next entry of the same cell
    };

    std::vector<int> head_;       // first entry of each cell
    std::vector<Entry> entries_;  // a teller in one of the cells he is near
    std::vector<int> used_;       // cells holding an entry
};

// Kept between ticks for their storage only.
std::vector<CVector> tellers;
TellerGrid grid;

}  // namespace

void RadioPass(const TickContext& tick) {
    const float rangeSq = cfg.RadioRange * cfg.RadioRange;
    tellers.clear();
    for (const CopSighting& s : tick.sightings) {
        if (s.seeing && MayShare(s)) tellers.push_back(s.position);
    }
    if (tellers.empty()) return;
    const bool gridded = grid.Build(tellers, tick.playerPos, rangeSq);
    for (const CopSighting& listener : tick.sightings) {
        if (listener.seeing || (listener.inVehicle && cfg.RadioReachesCars == 0)) continue;
        const auto inRange = [&](int i) {
            return !(DistanceSq(listener.position, tellers[static_cast<std::size_t>(i)]) > rangeSq);
        };
        bool placed = false;
        bool hears = gridded && grid.AnyNear(listener.position, placed, inRange);
        if (!placed) {
            hears = false;
            for (int i = 0, n = static_cast<int>(tellers.size()); i < n && !hears; ++i) hears = inRange(i);
        }
        if (hears) listener.cop->awareness.lastKnownTime = tick.now;
    }
    if (gridded) grid.Clear();
}
