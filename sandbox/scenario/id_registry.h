#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "scenario/scenario.h"

namespace sandbox::loader {

enum class ObjectKind { player, ped, vehicle, box };

/// What a reference to an id may name.
enum class RefKind {
    ped,  // a ped other than the player
    pedOrPlayer,
    vehicle,
    pedOrVehicle,  // not the player
    anyActor,      // ped, vehicle or player
};

/// A reference read from the file, checked once the ids it may name are known.
struct PendingRef {
    std::string path;
    std::string id;
    RefKind kind;
};

/// Every id in the file, and which of them exist at a given point of the run.
class IdRegistry {
public:
    /// Fails when the id is already used. An id spawned by an event (its file index) exists only
    /// from that event on; an empty id declares nothing.
    void Declare(const std::string& id, ObjectKind kind, const std::string& idPath,
                 std::optional<std::size_t> spawnedBy = std::nullopt);

    /// Fails unless the id names something of the right kind and, with needPresent, exists at
    /// nowMs; the events' times by file index let the message say when a later spawn brings it.
    void Check(const PendingRef& ref, bool needPresent,
               const std::vector<uint32_t>* atMsByFileIndex = nullptr, uint32_t nowMs = 0) const;

    void Spawned(const std::string& id) { present_.insert(id); }
    void Removed(const std::string& id, std::size_t byEvent);
    ObjectKind KindOf(const std::string& id) const { return declared_.at(id).kind; }

private:
    struct Declaration {
        ObjectKind kind;
        std::string path;
        std::optional<std::size_t> spawnedBy;  // event file index
    };

    std::map<std::string, Declaration> declared_;
    std::set<std::string> present_;
    std::map<std::string, std::size_t> removedBy_;
};

}  // namespace sandbox::loader
