#include "replay/replay_recorder.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "files/json_out.h"
#include "replay/host_view.h"
#include "replay/json_text.h"
#include "replay/replay_json.h"
#include "run/module_settings.h"
#include "run/scenario_run.h"
#include "scenario/scenario.h"
#include "world/world.h"

namespace sandbox {

namespace {

// The code of "none" for a value coded by a small number or a journal place.
constexpr std::uint64_t kNoCode = ~std::uint64_t{0};

enum CopField {
    kVehicle,
    kSeat,
    kHealth,
    kState,
    kZ,
    kSuppressed,
    kStep,
    kStepTarget,
    kSearchTarget,
    kMoveOrder,
    kMove,
    kActivity,
    kAimAt,
    kLastOrder,
    kSight,
    kSightRange,
    kCone,
    kCloseRange,
    kAlert,
    kSawMs,
    kLostBy
};
enum VehicleField { kVState, kVMission, kVTarget, kVSweeps, kVLaw, kVZ };
enum PlayerField { kPVehicle, kPHealth, kPWanted, kPZ };
enum SampleField { kScene, kSceneMs, kCounts, kStarAlpha, kStars, kShotsHeard, kEpisode };

std::string CommandHex(std::uint16_t command) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", command);
    return text;
}

std::string PointerText(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", p);
    return text;
}

/// The "%p" text of a recorded vehicle, by its index in the track, made at first sight.
const std::string& PointerAt(std::vector<std::string>& texts, int index, const void* object) {
    if (index >= static_cast<int>(texts.size())) texts.resize(static_cast<std::size_t>(index) + 1);
    std::string& text = texts[static_cast<std::size_t>(index)];
    if (text.empty()) text = PointerText(object);
    return text;
}

std::string Number(double value) {
    std::string out;
    AppendNumber(out, value);
    return out;
}

std::string PointText(Vec3 p) {
    std::string out;
    AppendPoint(out, p);
    return out;
}

std::string_view VehicleId(const CVehicle* vehicle) {
    return vehicle == nullptr ? std::string_view() : static_cast<const Vehicle*>(vehicle)->id;
}

std::string Description(const std::string& id, const void* pointer, const char* extra = nullptr) {
    std::string out = "{\"id\":";
    AppendString(out, id);
    out += ",\"ptr\":";
    AppendString(out, PointerText(pointer));
    if (extra != nullptr) out += extra;
    out += '}';
    return out;
}

}  // namespace

ReplayRecorder::ReplayRecorder(const Scenario& scenario, std::optional<std::string> iniText)
    : title_(scenario.name),
      player_({"vehicle", "health", "wanted", "z"}),
      cops_({"vehicle",    "seat",         "health",    "state",      "z",        "suppressed", "step",
             "stepTarget", "searchTarget", "moveOrder", "move",       "activity", "aimAt",      "order",
             "sight",      "sightRange",   "cone",      "closeRange", "alert",    "sawMs",      "lostBy"}),
      vehicles_({"state", "mission", "target", "sweeps", "lawEnforcer", "z"}),
      sample_({"scene", "sceneMs", "counts", "starAlpha", "stars", "shotsHeard", "episode"}) {
    head_["scenario"] = {{"name", scenario.name},
                         {"description", scenario.description},
                         {"durationMs", scenario.durationMs},
                         {"seed", scenario.seed}};
    head_["ini"] = iniText ? nlohmann::json(*iniText) : nlohmann::json(nullptr);
    nlohmann::json boxes = nlohmann::json::array();
    for (const Box& box : scenario.world.boxes) {
        boxes.push_back({{"id", box.id}, {"min", Point(box.min)}, {"max", Point(box.max)}});
    }
    // The height the plugin looks from, for the page to cut each cone at the buildings that reach it.
    const double eyeHeight = std::round(SightRecord::kEyeHeight * 100.0) / 100.0;
    head_["world"] = {{"groundZ", scenario.world.groundZ}, {"boxes", boxes}, {"eyeHeight", eyeHeight}};
}

void ReplayRecorder::Attach(RunOptions& options) {
    options.onLoad = [this](const LoadedModule& module) { OnLoad(module); };
    options.onStart = [this](World& world) { OnStart(world); };
    options.onFrame = [this](World& world, std::uint32_t runMs, const std::vector<LoggedLine>& lines) {
        OnFrame(world, runMs, lines);
    };
}

void ReplayRecorder::OnStart(World& world) {
    world.SightQueries().kept = true;
    head_["world"].update(WorldLayout(world));
}

void ReplayRecorder::OnFrame(World& world, std::uint32_t runMs, const std::vector<LoggedLine>& lines) {
    // The module reads its settings in its first frame.
    if (!settingsRead_ && module_ != nullptr) {
        settings_ = ModuleSettings(*module_);
        settingsRead_ = true;
        sightAccount_.UseSettings(SightSettings::From(settings_));
    }
    const Vec3 player = world.Player()->Position();
    for (const LoggedLine& line : lines) {
        logState_.Read(line.text, player, line.runMs);
        footSearch_.Read(line.text, line.runMs);
        sightAccount_.Read(line.text, line.runMs);
        std::string& out = log_.Item();
        out += '[';
        AppendInt(out, line.runMs);
        out += ',';
        AppendString(out, line.text);
        out += ']';
    }
    logState_.FollowPlayer(player, runMs);
    footSearch_.NoteOrders(world, runMs);
    sweeps_.Note(world);
    const bool asked = !world.SightQueries().recent.empty();
    const bool ordered = world.Journal().Calls().size() > journalSeen_;
    // Every frame the plugin decided something in is a sample, so that stepping lands on it.
    if (lastSampleMs_ && runMs - *lastSampleMs_ < sampleMs_ && !asked && !ordered && lines.empty()) return;
    lastSampleMs_ = runMs;
    Sample(world, runMs);
}

int ReplayRecorder::CopIndex(World& world, const Ped& ped) {
    return CopIndex(world.Peds().HandleOf(&ped), ped);
}

int ReplayRecorder::CopIndex(int handle, const Ped& ped) {
    // Asked for every cop in every sample: the description is built only for a new one.
    if (const int known = cops_.Find(handle); known >= 0) return known;
    return cops_.Enter(handle, Description(ped.id, static_cast<const CPed*>(&ped)));
}

void ReplayRecorder::NoteOrders(World& world, int sample) {
    const auto& calls = world.Journal().Calls();
    for (; journalSeen_ < calls.size(); ++journalSeen_) {
        const ScriptCall& call = calls[journalSeen_];
        const std::string command = (call.negated ? "!" : "") + CommandHex(call.command);
        std::string& out = orders_.Item();
        out += '[';
        AppendInt(out, sample);
        out += ",\"";
        out += command;
        out += '"';
        const std::string args = ArgsText(call);
        if (args.size() > 2) out += ',' + args.substr(1, args.size() - 2);
        out += ']';
    }
    orders_.Settle();
}

void ReplayRecorder::Sample(World& world, std::uint32_t runMs) {
    const int s = samples_++;
    AppendInt(times_.Item(), runMs);
    times_.Settle();
    log_.Settle();
    sightAccount_.Begin(world.Player()->Position(), runMs, !world.SightQueries().recent.empty());
    sight_.Take(
        world, s, [&](const Ped& ped) { return CopIndex(world, ped); },
        [&](const Ped& ped) {
            const int k = CopIndex(world, ped);
            const PointerKey& pointer = CopPointer(k, ped);
            return sightAccount_.WouldAsk(k, ped, pointer, LostNow(ped, pointer));
        });
    sight_.Settle();
    NoteOrders(world, s);

    const Ped& player = *world.Player();
    const int p = player_.Enter(0, "{\"id\":\"player\"}");
    player_.Row(p, player.Position(), Degrees(player.m_fHeading));
    player_.SetString(s, p, kPVehicle,
                      player.m_bInVehicle ? VehicleId(player.m_pVehicle) : std::string_view());
    player_.SetNumber(s, p, kPHealth, player.m_fHealth);
    player_.SetNumber(s, p, kPWanted, world.Wanted().m_nWantedLevel);
    player_.SetNumber(s, p, kPZ, player.Position().z);
    player_.EndSample(s);

    sample_.SetPoint(s, 0, kScene,
                     logState_.sceneValid ? std::optional<Vec3>(logState_.scene) : std::nullopt);
    sample_.Set(s, 0, kSceneMs, logState_.sceneValid ? Number(logState_.sceneMs) : "null");
    std::string counts = "{\"seeing\":";
    AppendInt(counts, logState_.seeing);
    counts += ",\"lost\":";
    AppendInt(counts, logState_.lost);
    counts += logState_.sceneShared ? ",\"sceneShared\":true}" : ",\"sceneShared\":false}";
    sample_.Set(s, 0, kCounts, counts);
    sample_.SetNumber(s, 0, kStarAlpha, world.Hud().DrawnStarAlpha());
    const Hud& hud = world.Hud();
    sample_.Set(s, 0, kStars,
                std::string("{\"flashing\":") + (hud.drawnFlashing ? "true" : "false") +
                    ",\"visible\":" + (hud.drawnVisible ? "true" : "false") + "}");
    sample_.SetNumber(s, 0, kShotsHeard, static_cast<double>(footSearch_.Shots().size()));
    sample_.Set(s, 0, kEpisode, logState_.episode ? "true" : "false");
    sample_.Settle();

    for (int i = 0; i < world.Peds().Size(); ++i) {
        const Ped* ped = world.Peds().At(i);
        if (ped == nullptr || ped == &player || ped->m_nPedType != PED_TYPE_COP) continue;
        SampleCop(*ped, i, world.Peds().HandleOf(ped));
    }
    cops_.EndSample(s);
    SampleVehicles(world);
    vehicles_.EndSample(s);
}

int ReplayRecorder::CopAt(int slot, int handle, const Ped& ped) {
    if (slot >= static_cast<int>(copBySlot_.size()))
        copBySlot_.resize(static_cast<std::size_t>(slot) + 1, {-1, -1});
    std::pair<int, int>& known = copBySlot_[static_cast<std::size_t>(slot)];
    if (known.first != handle) known = {handle, CopIndex(handle, ped)};
    return known.second;
}

const PointerKey& ReplayRecorder::CopPointer(int k, const Ped& ped) {
    if (k >= static_cast<int>(copPointers_.size())) copPointers_.resize(static_cast<std::size_t>(k) + 1);
    PointerKey& pointer = copPointers_[static_cast<std::size_t>(k)];
    if (pointer.text.empty()) pointer = PointerKey(PointerText(static_cast<const CPed*>(&ped)));
    return pointer;
}

bool ReplayRecorder::LostNow(const Ped& ped, const PointerKey& pointer) const {
    return ped.m_nPursuitSuppressed != 0 || logState_.Lost(pointer);
}

void ReplayRecorder::SampleCop(const Ped& ped, int slot, int handle) {
    const int s = samples_ - 1;
    const int k = CopAt(slot, handle, ped);
    const Vehicle* seat = ped.m_bInVehicle ? static_cast<const Vehicle*>(ped.m_pVehicle) : nullptr;
    cops_.Row(k, ped.Position(), Degrees(seat != nullptr ? seat->m_fHeading : ped.m_fHeading));
    const PointerKey& pointer = CopPointer(k, ped);
    const bool lost = LostNow(ped, pointer);
    const SightAccount::Cop sight = sightAccount_.Of(k, ped, pointer, lost, sight_.AnswerIn(handle, s));
    WriteCopBody(s, k, ped, seat, sight.outcome.sees, lost);
    WriteCopSight(s, k, sight);
    WriteCopKnowledge(s, k, sight, lost ? std::optional(logState_.LostBy(pointer)) : std::nullopt);
    WriteCopSearch(s, k, handle, pointer);
    WriteCopRoute(s, k, ped);
    WriteCopActivity(s, k, ped);
}

void ReplayRecorder::WriteCopBody(int s, int k, const Ped& ped, const Vehicle* seat, bool sees, bool lost) {
    const bool alive = ped.m_fHealth > 0.0f;
    // Already JSON strings, by the code each state is noted with.
    static constexpr const char* kStateText[] = {"\"dead\"", "\"plain\"", "\"seeing\"", "\"lost\"",
                                                 "\"chasing\""};
    const int state = !alive ? 0 : !logState_.episode ? 1 : sees ? 2 : lost ? 3 : 4;
    // Written for every cop in every sample: each value's text is built only when it changes.
    cops_.SetString(s, k, kVehicle, seat != nullptr ? std::string_view(seat->id) : std::string_view());
    cops_.SetCoded(s, k, kSeat, seat != nullptr ? static_cast<std::uint32_t>(ped.seat) : kNoCode,
                   [&](std::string& out) {
                       if (seat != nullptr)
                           AppendNumber(out, ped.seat);
                       else
                           out += "null";
                   });
    cops_.SetNumber(s, k, kHealth, ped.m_fHealth);
    cops_.SetCoded(s, k, kState, static_cast<std::uint64_t>(state),
                   [&](std::string& out) { out += kStateText[state]; });
    cops_.SetNumber(s, k, kZ, ped.Position().z);
    const bool suppressed = ped.m_nPursuitSuppressed != 0;
    cops_.SetCoded(s, k, kSuppressed, suppressed,
                   [&](std::string& out) { out += suppressed ? "true" : "false"; });
}

void ReplayRecorder::WriteCopKnowledge(int s, int k, const SightAccount::Cop& sight,
                                       std::optional<LogState::Loss> lostBy) {
    // Written as he stops seeing: while he sees it would change at every tick, for nothing to show.
    const std::optional<std::uint32_t> saw = sight.outcome.sees ? std::nullopt : sight.sawMs;
    cops_.SetCoded(s, k, kSawMs, saw.value_or(kNoCode), [&](std::string& out) {
        if (saw)
            AppendInt(out, *saw);
        else
            out += "null";
    });
    // Already JSON text, by the rule that held him lost: a lost cop the log does not name was held
    // lost by his car's search as it unloaded him.
    static constexpr const char* kLossText[] = {"\"unloaded\"", "\"grace\"", "\"parked car\""};
    const std::uint64_t loss = lostBy ? static_cast<std::uint64_t>(*lostBy) : kNoCode;
    cops_.SetCoded(s, k, kLostBy, loss, [&](std::string& out) { out += lostBy ? kLossText[loss] : "null"; });
}

void ReplayRecorder::WriteCopSight(int s, int k, const SightAccount::Cop& sight) {
    // Already JSON text, by the condition that decided.
    static constexpr const char* kByText[] = {"\"not asked\"", "\"range\"", "\"close range\"", "\"cone\"",
                                              "\"line of sight\""};
    const SightOutcome outcome = sight.outcome;
    const auto by = static_cast<std::uint64_t>(outcome.by);
    cops_.SetCoded(s, k, kSight, by * 2 + outcome.sees, [&](std::string& out) {
        out += outcome.sees ? "{\"sees\":true,\"by\":" : "{\"sees\":false,\"by\":";
        out += kByText[by];
        out += '}';
    });
    // A view changes seldom: one comparison spares the four fields.
    if (k >= static_cast<int>(viewsWritten_.size())) viewsWritten_.resize(static_cast<std::size_t>(k) + 1);
    WrittenView& written = viewsWritten_[static_cast<std::size_t>(k)];
    if (written.seen && written.view == sight.view) return;
    written = {true, sight.view};
    if (!sight.view) {
        for (const int field : {kSightRange, kCone, kCloseRange, kAlert}) cops_.SetNull(s, k, field);
        return;
    }
    const CopView& view = *sight.view;
    cops_.SetNumber(s, k, kSightRange, view.range);
    // No cone is written when the plugin takes no angle test.
    if (view.AllRound())
        cops_.SetNull(s, k, kCone);
    else
        cops_.SetNumber(s, k, kCone, view.cone);
    cops_.SetNumber(s, k, kCloseRange, view.close);
    cops_.SetCoded(s, k, kAlert, view.alert, [&](std::string& out) { out += view.alert ? "true" : "false"; });
}

void ReplayRecorder::WriteCopSearch(int s, int k, int handle, const PointerKey& pointer) {
    const std::string* step = footSearch_.Step(pointer);
    if (k >= static_cast<int>(orderSerials_.size())) orderSerials_.resize(static_cast<std::size_t>(k) + 1);
    OrderSerials& serials = orderSerials_[static_cast<std::size_t>(k)];
    const FootSearchLog::MoveOrder* order = step ? footSearch_.Order(handle, serials.lookup) : nullptr;
    cops_.SetString(s, k, kStep, step ? std::optional<std::string_view>(*step) : std::nullopt);
    const bool stepHasTarget = step && order && (*step == "travel" || *step == "sweep");
    // An order's target is fixed by its place in the journal.
    cops_.SetCoded(s, k, kStepTarget, stepHasTarget ? order->serial : kNoCode, [&](std::string& out) {
        if (stepHasTarget)
            AppendPoint(out, order->target);
        else
            out += "null";
    });
    // A searching cop heads for the scene of the sample, so the flag says it without repeating the point.
    const bool searchTarget = step && logState_.sceneValid;
    cops_.SetCoded(s, k, kSearchTarget, searchTarget,
                   [&](std::string& out) { out += searchTarget ? "true" : "null"; });
    // An order's text changes only with a new order, so it is built only then.
    const std::size_t moveSerial = order ? order->serial + 1 : 0;
    if (!serials.seen || serials.move != moveSerial) {
        if (order) {
            std::string text = "{\"command\":\"" + CommandHex(order->command) +
                               "\",\"target\":" + PointText(order->target) + ",\"args\":" + order->args +
                               ",\"t\":";
            AppendInt(text, order->runMs);
            cops_.Set(s, k, kMoveOrder, text + "}");
        } else {
            cops_.Set(s, k, kMoveOrder, "null");
        }
    }
    const FootSearchLog::Command* last = footSearch_.LastCommand(handle, serials.lookup);
    const std::size_t lastSerial = last ? last->serial + 1 : 0;
    if (!serials.seen || serials.last != lastSerial) {
        if (last) {
            std::string text =
                "{\"command\":\"" + CommandHex(last->command) + "\",\"args\":" + last->args + ",\"t\":";
            AppendInt(text, last->runMs);
            cops_.Set(s, k, kLastOrder, text + "}");
        } else {
            cops_.Set(s, k, kLastOrder, "null");
        }
    }
    serials.seen = true;
    serials.move = moveSerial;
    serials.last = lastSerial;
}

void ReplayRecorder::WriteCopRoute(int s, int k, const Ped& ped) {
    OrderSerials& serials = orderSerials_[static_cast<std::size_t>(k)];
    // The rest of his route changes only when he passes a waypoint or gets a new route.
    static const std::vector<Vec3> kNoRoute;
    const std::vector<Vec3>& route = ped.moving ? ped.move.waypoints : kNoRoute;
    if (serials.routeSeen && serials.route == route) return;
    std::string& move = scratch_;
    move = "null";
    if (!route.empty()) {
        // One flat list x, y, x, y...: the page reads far fewer arrays than with one per point.
        move = "[";
        for (const Vec3& point : route) {
            if (move.size() > 1) move += ',';
            AppendNumber(move, point.x);
            move += ',';
            AppendNumber(move, point.y);
        }
        move += ']';
    }
    cops_.Set(s, k, kMove, move);
    serials.route = route;
    serials.routeSeen = true;
}

void ReplayRecorder::WriteCopActivity(int s, int k, const Ped& ped) {
    const auto kind = static_cast<int>(ped.activity.kind);
    cops_.SetCoded(s, k, kActivity, static_cast<std::uint64_t>(kind), [&](std::string& out) {
        const char* activity = ActivityName(kind);
        if (*activity)
            AppendString(out, activity);
        else
            out += "null";
    });
    if (ped.activity.kind == Activity::Kind::aim) {
        const Vec3 at = ped.activity.point;
        const std::uint64_t bits = (static_cast<std::uint64_t>(std::bit_cast<std::uint32_t>(at.x)) << 32) |
                                   std::bit_cast<std::uint32_t>(at.y);
        cops_.SetCoded(s, k, kAimAt, bits, [&](std::string& out) { AppendFlat(out, at); });
    } else {
        cops_.SetNull(s, k, kAimAt);
    }
}

void ReplayRecorder::SampleVehicles(World& world) {
    const int s = samples_ - 1;
    for (int i = 0; i < world.Vehicles().Size(); ++i) {
        const Vehicle* v = world.Vehicles().At(i);
        if (v == nullptr) continue;
        const void* address = static_cast<const CVehicle*>(v);
        const int handle = world.Vehicles().HandleOf(v);
        int k = vehicles_.Find(handle);
        if (k < 0) {
            const std::string model =
                ",\"model\":" + std::to_string(v->m_nModelIndex) + (v->IsHeli() ? ",\"heli\":true" : "");
            k = vehicles_.Enter(handle, Description(v->id, address, model.c_str()));
        }
        vehicles_.Row(k, v->Position(), Degrees(v->m_fHeading));
        vehicles_.SetString(s, k, kVState,
                            VehicleActivity(*v, logState_.Parked(PointerAt(vehiclePointers_, k, address))));
        vehicles_.SetNumber(s, k, kVMission, v->m_autoPilot.m_nCarMission);
        vehicles_.SetPoint(s, k, kVTarget, v->hasTarget ? std::optional<Vec3>(v->target) : std::nullopt);
        if (const HeliSweeps::Points* points = v->IsHeli() ? sweeps_.Of(v->id) : nullptr) {
            std::string& sweeps = scratch_;
            sweeps = "[";
            for (const auto& p : *points) {
                if (sweeps.size() > 1) sweeps += ',';
                AppendPoint(sweeps, {p[0], p[1], p[2]});
            }
            sweeps += ']';
            vehicles_.Set(s, k, kVSweeps, sweeps);
        } else {
            vehicles_.SetNull(s, k, kVSweeps);
        }
        const bool law = v->m_bIsLawEnforcer;
        vehicles_.SetCoded(s, k, kVLaw, law, [&](std::string& out) { out += law ? "true" : "false"; });
        vehicles_.SetNumber(s, k, kVZ, v->Position().z);
    }
}

void ReplayRecorder::WriteData(std::ostream& out) const {
    nlohmann::json settings = nullptr;
    if (!settings_.empty()) {
        settings = nlohmann::json::object();
        for (const auto& [key, value] : settings_) settings[key] = value;
    }
    // The head is small and written once; its free text goes through the same escaping.
    const std::string head = JsonText(head_);
    out << "{\"format\":4," << ScriptSafe(std::string_view(head).substr(1, head.size() - 2));
    out << ",\"settings\":" << JsonText(settings) << ",\"shots\":" << JsonText(footSearch_.Shots());
    out << ",\"t\":[";
    times_.CopyTo(out);
    out << "],";
    player_.Write(out, "player");
    out << ',';
    cops_.Write(out, "cops");
    out << ',';
    vehicles_.Write(out, "vehicles");
    out << ",\"sample\":{";
    sample_.WriteMembers(out);
    out << "},\"sight\":[";
    sight_.Items().CopyTo(out);
    out << "],\"orders\":[";
    orders_.CopyTo(out);
    out << "],\"log\":[";
    log_.CopyTo(out);
    out << "]}";
}

void ReplayRecorder::WriteSince(std::ostream& out, ColumnMarks& marks) const {
    marks.Rewind();
    const auto column = [&](const char* name, const SpillText& items) {
        out << ',';
        items.WriteSince(out, name, marks.Next());
    };
    out << '{';
    times_.WriteSince(out, "t", marks.Next());
    out << ',';
    player_.WriteSince(out, "player", marks);
    out << ',';
    cops_.WriteSince(out, "cops", marks);
    out << ',';
    vehicles_.WriteSince(out, "vehicles", marks);
    out << ",\"sample\":{";
    sample_.WriteSince(out, marks);
    out << '}';
    column("sight", sight_.Items());
    column("orders", orders_);
    column("log", log_);
    out << '}';
}

std::string ReplayRecorder::DataText() const {
    std::ostringstream out;
    WriteData(out);
    return out.str();
}

}  // namespace sandbox
