#include "scenario/id_registry.h"

#include <string_view>

#include "scenario/json_path.h"

namespace sandbox::loader {

namespace {

std::string_view KindWord(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::player: return "the player";
        case ObjectKind::ped: return "a ped";
        case ObjectKind::vehicle: return "a vehicle";
        case ObjectKind::box: return "a box";
    }
    return "an object";
}

std::string_view WantedWord(RefKind kind) {
    switch (kind) {
        case RefKind::ped: return "ped";
        case RefKind::pedOrPlayer: return "ped";
        case RefKind::vehicle: return "vehicle";
        case RefKind::pedOrVehicle: return "ped or vehicle";
        case RefKind::anyActor: return "ped or vehicle";
    }
    return "object";
}

bool KindFits(RefKind wanted, ObjectKind actual) {
    switch (wanted) {
        case RefKind::ped: return actual == ObjectKind::ped;
        case RefKind::pedOrPlayer: return actual == ObjectKind::ped || actual == ObjectKind::player;
        case RefKind::vehicle: return actual == ObjectKind::vehicle;
        case RefKind::pedOrVehicle: return actual == ObjectKind::ped || actual == ObjectKind::vehicle;
        case RefKind::anyActor: return actual != ObjectKind::box;
    }
    return false;
}

}  // namespace

void IdRegistry::Declare(const std::string& id, ObjectKind kind, const std::string& idPath,
                         std::optional<std::size_t> spawnedBy) {
    if (id.empty()) {
        return;
    }
    auto [it, added] = declared_.emplace(id, Declaration{kind, idPath, spawnedBy});
    if (!added) {
        Fail(idPath, "duplicate id " + Quoted(id) + " (already used at " + it->second.path + ")");
    }
    if (!spawnedBy) {
        present_.insert(id);
    }
}

void IdRegistry::Check(const PendingRef& ref, bool needPresent, const std::vector<uint32_t>* atMsByFileIndex,
                       uint32_t nowMs) const {
    auto it = declared_.find(ref.id);
    if (it == declared_.end()) {
        Fail(ref.path, "no " + std::string(WantedWord(ref.kind)) + " with id " + Quoted(ref.id));
    }
    const Declaration& found = it->second;
    if (!KindFits(ref.kind, found.kind)) {
        Fail(ref.path, Quoted(ref.id) + " is " + std::string(KindWord(found.kind)) + ", not a " +
                           std::string(WantedWord(ref.kind)));
    }
    if (!needPresent || present_.count(ref.id) != 0) {
        return;
    }
    std::string when = " at " + std::to_string(nowMs) + " ms";
    auto removed = removedBy_.find(ref.id);
    if (removed != removedBy_.end()) {
        Fail(ref.path, Quoted(ref.id) + " no longer exists" + when + " (removed by events[" +
                           std::to_string(removed->second) + "])");
    }
    std::string spawnNote;
    if (found.spawnedBy && atMsByFileIndex != nullptr) {
        spawnNote = " (spawned at " + std::to_string((*atMsByFileIndex)[*found.spawnedBy]) +
                    " ms by events[" + std::to_string(*found.spawnedBy) + "])";
    }
    Fail(ref.path, Quoted(ref.id) + " does not exist yet" + when + spawnNote);
}

void IdRegistry::Removed(const std::string& id, std::size_t byEvent) {
    present_.erase(id);
    removedBy_[id] = byEvent;
}

}  // namespace sandbox::loader
