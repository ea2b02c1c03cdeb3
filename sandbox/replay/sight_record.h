#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "geometry/vec3.h"
#include "replay/spill_text.h"

namespace sandbox {

class World;
struct Ped;
struct SightQuery;

/// The line-of-sight questions the plugin asked the host, each put to the cop who asked it (the
/// plugin asks from his eyes to the player's), with the answer and what blocked the line. Written
/// as items [sample, cop, clear, blocker] (blocker: a box's index, or a vehicle's id), followed by
/// both ends when the question was not the usual eye-to-eye one.
class SightRecord {
public:
    /// The plugin asks from this height above the feet, to the same height above the player's.
    static constexpr float kEyeHeight = 0.6f;

    /// Takes the questions the host answered since the last call, for this sample; `copIndex` gives
    /// a cop's recorded index, `wouldAsk` whether the plugin would ask for him as far as the host
    /// can tell. Returns whether there were any.
    bool Take(World& world, int sample, const std::function<int(const Ped&)>& copIndex,
              const std::function<bool(const Ped&)>& wouldAsk);
    /// The host's answer to the cop's question in this sample, when he asked one.
    std::optional<bool> AnswerIn(int handle, int sample) const;
    const SpillText& Items() const { return items_; }
    void Settle() { items_.Settle(); }

private:
    /// The pool slot of the cop a question from `from` belongs to, searched from slot `cursor`, or -1.
    int FindAsker(World& world, Vec3 from, int cursor, const std::function<bool(const Ped&)>& wouldAsk) const;
    void Write(World& world, int sample, int cop, const Ped* ped, const SightQuery& q);

    struct Asked {
        int sample;
        bool clear;
    };
    std::unordered_map<int, Asked> last_;     ///< by ped handle
    std::vector<std::uint32_t> servedRound_;  ///< by pool slot: the call that last served him
    std::uint32_t round_ = 0;
    SpillText items_;
};

/// What blocks the question's line: the index of the nearest box it passes through, else the id
/// of a vehicle in the way (when the question counted vehicles) as a JSON string, else "null".
std::string SightBlocker(World& world, const SightQuery& q);

}  // namespace sandbox
