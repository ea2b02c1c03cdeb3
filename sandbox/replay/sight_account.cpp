#include "replay/sight_account.h"

#include <cstdlib>

#include "replay/log_state.h"
#include "world/world.h"

namespace sandbox {

namespace {

// An aim scan keeps the cop alert a little past the aim itself.
constexpr std::uint32_t kAimSettleMs = 200;

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// Whether run time `a` comes before `b`, by the signed difference as the plugin compares its clock.
bool Before(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) < 0; }

std::uint32_t TimeIn(const std::string& line) {
    const auto at = line.find("time=");
    return at == std::string::npos
               ? 0
               : static_cast<std::uint32_t>(std::strtol(line.c_str() + at + 5, nullptr, 10));
}

Seat SeatOf(const Ped& ped) {
    if (!ped.m_bInVehicle || ped.m_pVehicle == nullptr) return Seat::foot;
    return static_cast<const Vehicle*>(ped.m_pVehicle)->IsHeli() ? Seat::heli : Seat::car;
}

float HeadingOf(const Ped& ped) {
    return ped.m_bInVehicle && ped.m_pVehicle != nullptr ? ped.m_pVehicle->m_fHeading : ped.m_fHeading;
}

SightOutcome Decided(Unasked condition) {
    switch (condition) {
        case Unasked::range: return {SightOutcome::By::range, false};
        case Unasked::closeRange: return {SightOutcome::By::closeRange, true};
        case Unasked::cone: return {SightOutcome::By::cone, false};
        // Let look by every condition, yet he asked nothing: the plugin saw him otherwise than the host
        // does, and he counts as not asked.
        case Unasked::notListed:
        case Unasked::asks: break;
    }
    return {};
}

}  // namespace

void SightAccount::Read(const std::string& line, std::uint32_t runMs) {
    if (line == "wanted level ended" || line == "reset: flags restored" || line == "F10: enabled=0") {
        EndEpisode();
    } else if (StartsWith(line, "cops: ")) {
        summarySeen_ = true;
    } else if (StartsWith(line, "disguise: player is in an unknown vehicle")) {
        disguised_ = true;
    } else if (StartsWith(line, "disguise: cops know the player's vehicle again")) {
        disguised_ = false;
    } else if (StartsWith(line, "looking about: ")) {
        alerts_[PedPointerIn(line)] = {runMs, runMs + TimeIn(line), std::nullopt};
    } else if (StartsWith(line, "aim scan: ")) {
        alerts_[PedPointerIn(line)] = {runMs, runMs + TimeIn(line) + kAimSettleMs, std::nullopt};
    } else if (StartsWith(line, "cop is chasing again: ") || StartsWith(line, "defend: finished: ")) {
        const auto it = alerts_.find(PedPointerIn(line));
        if (it != alerts_.end()) it->second.endedMs = runMs;
    }
}

void SightAccount::EndEpisode() {
    known_.clear();
    alerts_.clear();
    disguised_ = false;
}

void SightAccount::Begin(Vec3 player, std::uint32_t runMs, bool asked) {
    player_ = player;
    runMs_ = runMs;
    // Alerts past their deadline are dropped, so that most samples need no lookup at all.
    std::erase_if(alerts_, [&](const auto& entry) { return !Before(runMs, entry.second.untilMs); });
    tick_ = asked || summarySeen_;
    summarySeen_ = false;
}

bool SightAccount::Alert(const PointerKey& pointer) const {
    if (alerts_.empty()) return false;  // asked for every cop in every sample: spare the hashing
    const auto it = alerts_.find(pointer);
    if (it == alerts_.end()) return false;
    const Alerted& a = it->second;
    // The tick that gives or ends it has tested his sight already.
    return Before(a.givenMs, runMs_) && Before(runMs_, a.untilMs) &&
           !(a.endedMs && Before(*a.endedMs, runMs_));
}

std::optional<CopView> SightAccount::ViewNow(const Known* known, const Ped& ped, const PointerKey& pointer,
                                             bool lost) const {
    if (!settings_) return std::nullopt;
    // A cop is in the know while he has a record and has not been held lost.
    const bool unaware = disguised_ && (known == nullptr || !known->listed || known->lost || lost);
    return ViewOf(*settings_, SeatOf(ped), Alert(pointer), unaware);
}

bool SightAccount::WouldAsk(int k, const Ped& ped, const PointerKey& pointer, bool lost) const {
    const Known* known = k < static_cast<int>(known_.size()) ? &known_[static_cast<std::size_t>(k)] : nullptr;
    const std::optional<CopView> view = ViewNow(known, ped, pointer, lost);
    return !view || UnaskedCondition(*view, ped.Position(), HeadingOf(ped), player_) == Unasked::asks;
}

SightAccount::Cop SightAccount::Of(int k, const Ped& ped, const PointerKey& pointer, bool lost,
                                   std::optional<bool> answer) {
    if (k >= static_cast<int>(known_.size())) known_.resize(static_cast<std::size_t>(k) + 1);
    Known& known = known_[static_cast<std::size_t>(k)];
    Cop cop;
    cop.view = ViewNow(&known, ped, pointer, lost);
    if (tick_) {
        const bool alive = ped.m_fHealth > 0.0f;
        // A cop who asked passed every condition before the question.
        std::optional<Unasked> condition;
        if (alive && !answer && cop.view)
            condition = UnaskedCondition(*cop.view, ped.Position(), HeadingOf(ped), player_);
        if (!alive)
            known.outcome = {};
        else if (answer)
            known.outcome = {SightOutcome::By::lineOfSight, *answer};
        else
            known.outcome = condition ? Decided(*condition) : SightOutcome{};
        if (known.outcome.sees) known.sawMs = runMs_;
        known.listed = alive && (answer || (condition && *condition != Unasked::notListed));
        known.lost = lost;
    }
    cop.outcome = known.outcome;
    cop.sawMs = known.sawMs;
    return cop;
}

}  // namespace sandbox
