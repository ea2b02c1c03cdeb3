#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "replay/entity_track.h"
#include "replay/foot_sample.h"
#include "replay/log_state.h"
#include "replay/sight_account.h"
#include "replay/sight_record.h"
#include "replay/spill_text.h"
#include "replay/vehicle_sample.h"
#include "scenario/expectations.h"

namespace sandbox {

class World;
class LoadedModule;
struct Ped;
struct Vehicle;
struct Scenario;
struct RunOptions;

/// Records a run for the replay viewer: the static world once, then a sample of the player, every
/// cop and vehicle with the state the host can tell, and the scene, in every frame in which the
/// plugin asked a sight question, logged or gave an order, and at least every 150 ms of run time
/// between them; with every log line, script command and sight question, and each cop's sight test
/// as the plugin took it (sight_account.h). It reads only what the host sees: its own world, the
/// log, the plugin's questions and orders, and the module's exported settings. The samples are written as
/// they come, by column, to text that moves to disk as it grows, so memory stays flat however long the run.
class ReplayRecorder {
public:
    static constexpr std::uint32_t kSampleMs = 150;

    ReplayRecorder(const Scenario& scenario, std::optional<std::string> iniText);

    /// Samples at least this often (0: every frame), for a page that shows the run as it happens.
    void SampleEvery(std::uint32_t ms) { sampleMs_ = ms; }

    /// Hooks the recorder into a run's options.
    void Attach(RunOptions& options);
    void OnLoad(const LoadedModule& module) { module_ = &module; }
    void OnStart(World& world);
    void OnFrame(World& world, std::uint32_t runMs, const std::vector<LoggedLine>& lines);

    /// The replay data, one JSON object, as the page carries it.
    void WriteData(std::ostream& out) const;
    std::string DataText() const;
    /// What the recording gained since the marks, which it moves on, for a page that follows a run
    /// live: one JSON object with the data's columns, each holding only the new items (the head,
    /// the settings and the gunshots of the whole data are not repeated).
    void WriteSince(std::ostream& out, ColumnMarks& marks) const;
    const std::string& Title() const { return title_; }
    int Samples() const { return samples_; }

private:
    void Sample(World& world, std::uint32_t runMs);
    void SampleCop(const Ped& ped, int slot, int handle);
    /// The cop's recorded index, kept by his slot in the ped pool.
    int CopAt(int slot, int handle, const Ped& ped);
    const PointerKey& CopPointer(int k, const Ped& ped);
    /// Whether the host can tell the plugin holds him lost: his flag, or the log's word.
    bool LostNow(const Ped& ped, const PointerKey& pointer) const;
    void WriteCopBody(int s, int k, const Ped& ped, const Vehicle* seat, bool sees, bool lost);
    void WriteCopSight(int s, int k, const SightAccount::Cop& sight);
    /// When he last saw the player, and by which rule he is held lost.
    void WriteCopKnowledge(int s, int k, const SightAccount::Cop& sight,
                           std::optional<LogState::Loss> lostBy);
    void WriteCopSearch(int s, int k, int handle, const PointerKey& pointer);
    void WriteCopRoute(int s, int k, const Ped& ped);
    void WriteCopActivity(int s, int k, const Ped& ped);
    void SampleVehicles(World& world);
    void NoteOrders(World& world, int sample);
    int CopIndex(World& world, const Ped& ped);
    int CopIndex(int handle, const Ped& ped);

    std::string title_;
    nlohmann::json head_;  ///< scenario, INI text, world: known before the run
    std::vector<std::pair<std::string, double>> settings_;
    std::vector<PointerKey> copPointers_;  ///< "%p" text by cop index
    /// The handle and cop index last found in each slot of the ped pool: nearly always the same.
    std::vector<std::pair<int, int>> copBySlot_;
    std::vector<std::string> vehiclePointers_;  ///< "%p" text by vehicle index
    /// Per cop, the journal places (plus one; 0 for none) of the orders last written for him.
    struct OrderSerials {
        bool seen = false;
        std::size_t move = 0;
        std::size_t last = 0;
        bool routeSeen = false;
        std::vector<Vec3> route;  ///< the waypoints last written
        FootSearchLog::Lookup lookup;
    };
    std::vector<OrderSerials> orderSerials_;
    struct WrittenView {
        bool seen = false;
        std::optional<CopView> view;
    };
    std::vector<WrittenView> viewsWritten_;  ///< by cop index: the view last written
    std::string scratch_;  ///< reused for the per-sample text of a cop's move or a helicopter's sweeps
    const LoadedModule* module_ = nullptr;
    LogState logState_;
    FootSearchLog footSearch_;
    HeliSweeps sweeps_;
    SightRecord sight_;
    SightAccount sightAccount_;
    std::optional<std::uint32_t> lastSampleMs_;
    std::uint32_t sampleMs_ = kSampleMs;
    std::size_t journalSeen_ = 0;
    int samples_ = 0;
    bool settingsRead_ = false;

    SpillText times_;
    SpillText log_;
    SpillText orders_;
    EntityTrack player_;
    EntityTrack cops_;
    EntityTrack vehicles_;
    ChangeLog sample_;
};

}  // namespace sandbox
