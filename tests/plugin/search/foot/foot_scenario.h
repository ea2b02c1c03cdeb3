#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "plugin/awareness/awareness_scenario.h"
#include "world/script_journal.h"

namespace foot_test {

using awareness_test::Cop;
using awareness_test::Session;

/// A cop with a loaded pistol, facing away from the player at the origin.
inline std::string ArmedCop(const std::string& id, float x, float y) {
    std::string cop = Cop(id, x, y, 0.0f, 180.0f);
    cop.insert(cop.size() - 2, R"(, "weapons": [ { "type": 22, "ammo": 50 } ])");
    return cop;
}

inline std::string Peds(const std::string& cops) { return R"("peds": [ )" + cops + " ]"; }

/// Cops that never see the player, so that nothing but the test ends their search.
inline const std::string kBlind = "SightRange=1\nAlertRangeBonus=0\nCloseRange=0\n";

/// A session of blind cops.
class BlindSession : public Session {
public:
    explicit BlindSession(const std::string& rest, const std::string& settings = "")
        : Session(rest, kBlind + settings) {}
};

/// The calls of one script command, in order.
inline std::vector<sandbox::ScriptCall> Calls(sandbox::World& world, std::uint16_t command) {
    std::vector<sandbox::ScriptCall> out;
    for (const auto& call : world.Journal().Calls()) {
        if (call.command == command) out.push_back(call);
    }
    return out;
}

inline float Dist2D(float ax, float ay, float bx, float by) { return std::hypot(ax - bx, ay - by); }

/// Searches start at 3300 ms for a cop first stamped at 150 ms.
constexpr std::uint32_t kLossMs = 3300;

}  // namespace foot_test
