#include "scenario/event_section.h"

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <functional>
#include <limits>
#include <numeric>
#include <string_view>
#include <utility>

#include "pools/pool_sizes.h"
#include "scenario/entity_section.h"
#include "scenario/fields.h"
#include "scenario/key_names.h"
#include "scenario/scenario_loader.h"
#include "scenario/value_readers.h"

namespace sandbox::loader {

namespace {

// What an event's reader may use: its fields, and the references and spawns it records.
class EventReader {
public:
    EventReader(const Fields& fields, std::vector<PendingRef>& refs, IdRegistry& ids, std::size_t fileIndex)
        : fields(fields), refs_(refs), ids_(ids), fileIndex_(fileIndex) {}

    std::string Ref(std::string_view key, RefKind kind) {
        std::string id = fields.Req(key, ReadId);
        refs_.push_back({fields.PathOf(key), id, kind});
        return id;
    }

    PedSpec Ped(const Json& value, const std::string& path) {
        PedSpec ped = ReadPed(value, path, refs_);
        ids_.Declare(ped.id, ObjectKind::ped, ChildPath(path, "id"), fileIndex_);
        return ped;
    }

    VehicleSpec Vehicle(const Json& value, const std::string& path) {
        VehicleSpec vehicle = ReadVehicle(value, path);
        ids_.Declare(vehicle.id, ObjectKind::vehicle, ChildPath(path, "id"), fileIndex_);
        return vehicle;
    }

    const Fields& fields;

private:
    std::vector<PendingRef>& refs_;
    IdRegistry& ids_;
    std::size_t fileIndex_;
};

struct EventType {
    std::string_view name;
    EventKind kind;
    std::vector<std::string_view> keys;  // besides "at" and "do"
    std::function<void(EventReader&, Event&)> read;
};

void ReadKey(EventReader& r, Event& e) {
    std::string name = r.fields.Req("key", ReadString);
    std::optional<KeyName> key = FindKey(name);
    if (!key) {
        Fail(r.fields.PathOf("key"),
             "unknown key name " + Quoted(name) + " (use F1-F12, A-Z, 0-9 or a name such as Shift, Space)");
    }
    e.key = std::string(key->name);
    e.keyCode = key->code;
    e.forMs = r.fields.Req("forMs", ReadMs);
}

void ReadSpawn(EventReader& r, Event& e) {
    if (r.fields.Has("ped") == r.fields.Has("vehicle")) {
        Fail(r.fields.Path(), "spawn needs exactly one of ped or vehicle");
    }
    if (r.fields.Has("ped")) {
        e.spawnPed = std::make_shared<const PedSpec>(r.Ped(r.fields.Required("ped"), r.fields.PathOf("ped")));
    } else {
        e.spawnVehicle = std::make_shared<const VehicleSpec>(
            r.Vehicle(r.fields.Required("vehicle"), r.fields.PathOf("vehicle")));
    }
}

const std::vector<EventType>& EventTypes() {
    static const std::vector<EventType> types = {
        {"playerMove",
         EventKind::playerMove,
         {"to", "speed"},
         [](EventReader& r, Event& e) {
             e.to = r.fields.Req("to", ReadVec3);
             e.speed = r.fields.Req("speed", ReadPositive);
         }},
        {"playerWarp",
         EventKind::playerWarp,
         {"to", "heading"},
         [](EventReader& r, Event& e) {
             e.to = r.fields.Req("to", ReadVec3);
             e.heading = r.fields.Maybe("heading", AtLeast(-FLT_MAX));
         }},
        {"playerEnter",
         EventKind::playerEnter,
         {"vehicle", "seat"},
         [](EventReader& r, Event& e) {
             e.vehicle = r.Ref("vehicle", RefKind::vehicle);
             e.seat = r.fields.Opt("seat", kDriverSeat, ReadSeat);
         }},
        {"playerExit", EventKind::playerExit, {}, [](EventReader&, Event&) {}},
        {"playerFire",
         EventKind::playerFire,
         {"weapon", "forMs"},
         [](EventReader& r, Event& e) {
             e.weapon = r.fields.Req("weapon", Whole());
             e.forMs = r.fields.Req("forMs", ReadMs);
         }},
        {"playerDie", EventKind::playerDie, {}, [](EventReader&, Event&) {}},
        {"wanted",
         EventKind::wanted,
         {"level"},
         [](EventReader& r, Event& e) { e.level = r.fields.Req("level", Whole(0, 6)); }},
        {"key", EventKind::key, {"key", "forMs"}, ReadKey},
        {"spawn", EventKind::spawn, {"ped", "vehicle"}, ReadSpawn},
        {"remove",
         EventKind::remove,
         {"id"},
         [](EventReader& r, Event& e) { e.id = r.Ref("id", RefKind::pedOrVehicle); }},
        {"damage",
         EventKind::damage,
         {"target", "source", "amount"},
         [](EventReader& r, Event& e) {
             e.target = r.Ref("target", RefKind::pedOrPlayer);
             e.source = r.Ref("source", RefKind::anyActor);
             e.amount = r.fields.Req("amount", AtLeast(0.0));
         }},
        {"pedMoveTo",
         EventKind::pedMoveTo,
         {"id", "to", "speed"},
         [](EventReader& r, Event& e) {
             e.id = r.Ref("id", RefKind::ped);
             e.to = r.fields.Req("to", ReadVec3);
             e.speed = r.fields.Req("speed", ReadPositive);
         }},
        {"hostTask",
         EventKind::hostTask,
         {"id", "task", "forMs"},
         [](EventReader& r, Event& e) {
             e.id = r.Ref("id", RefKind::ped);
             e.task = r.fields.Req("task", Whole());
             e.forMs = r.fields.Opt("forMs", uint32_t{0}, ReadMs);
         }},
        {"hostCriminal",
         EventKind::hostCriminal,
         {"id", "slot"},
         [](EventReader& r, Event& e) {
             e.id = r.Ref("id", RefKind::ped);
             e.slot = r.fields.Opt("slot", -1, Whole(0, kCriminalListSlots - 1));
         }},
        {"hostMission",
         EventKind::hostMission,
         {"vehicle", "mission", "tempAction", "cruise"},
         [](EventReader& r, Event& e) {
             e.vehicle = r.Ref("vehicle", RefKind::vehicle);
             // One byte in the host: either reading of it is accepted.
             e.mission = r.fields.Req("mission", Whole(-128, 255));
             if (r.fields.Has("tempAction")) e.tempAction = r.fields.Req("tempAction", Whole(-128, 127));
             if (r.fields.Has("cruise")) e.cruise = r.fields.Req("cruise", Whole(0, 255));
         }},
        {"pedType",
         EventKind::pedType,
         {"id", "type"},
         [](EventReader& r, Event& e) {
             e.id = r.Ref("id", RefKind::ped);
             e.pedType = r.fields.Req("type", Whole());
         }},
        {"hostLawFlag",
         EventKind::hostLawFlag,
         {"vehicle", "on"},
         [](EventReader& r, Event& e) {
             e.vehicle = r.Ref("vehicle", RefKind::vehicle);
             e.on = r.fields.Req("on", ReadBool);
         }},
        {"hostCopCarCounter",
         EventKind::hostCopCarCounter,
         {"value"},
         [](EventReader& r, Event& e) {
             e.value = r.fields.Req("value", Whole(std::numeric_limits<int32_t>::min()));
         }},
    };
    return types;
}

// One event as the file gives it; its references go to `refs`, its spawned ids to `ids`.
Event ReadEvent(const Json& element, const std::string& eventPath, std::size_t fileIndex,
                std::vector<PendingRef>& refs, IdRegistry& ids) {
    Fields f(element, eventPath);
    std::string name = f.Req("do", ReadString);
    const auto& types = EventTypes();
    auto type = std::find_if(types.begin(), types.end(), [&](const EventType& t) { return t.name == name; });
    if (type == types.end()) {
        Fail(f.PathOf("do"), "unknown event " + Quoted(name));
    }
    std::vector<std::string_view> allowed = {"at", "do"};
    allowed.insert(allowed.end(), type->keys.begin(), type->keys.end());
    f.Allow(allowed);

    Event event;
    event.kind = type->kind;
    event.sourceIndex = fileIndex;
    event.atMs = f.Req("at", ReadMs);
    EventReader reader(f, refs, ids, fileIndex);
    type->read(reader, event);
    return event;
}

// Sorts events read in file order by time, file order breaking ties. Their places are sorted and
// each event then moved once along its cycle: an event is large, and a long list is neither copied
// nor shuffled by swaps.
void SortByTime(std::vector<Event>& events) {
    std::vector<std::size_t> from(events.size());  // from[i]: the file index of the i-th to run
    std::iota(from.begin(), from.end(), std::size_t{0});
    std::sort(from.begin(), from.end(), [&](std::size_t a, std::size_t b) {
        return std::pair(events[a].atMs, a) < std::pair(events[b].atMs, b);
    });
    for (std::size_t start = 0; start < events.size(); ++start) {
        if (from[start] == start) continue;
        Event held = std::move(events[start]);
        std::size_t to = start;
        while (from[to] != start) {
            const std::size_t next = from[to];
            events[to] = std::move(events[next]);
            from[to] = to;
            to = next;
        }
        events[to] = std::move(held);
        from[to] = to;
    }
}

}  // namespace

std::vector<Event> ReadEvents(const Json& value, const std::string& path, const Scenario& scenario,
                              IdRegistry& ids) {
    std::vector<Event> events;
    events.reserve(value.is_array() ? value.size() : 0);
    // The references of all events in one list: event i's are refs[firstRef[i]] up to firstRef[i + 1].
    std::vector<PendingRef> refs;
    std::vector<std::size_t> firstRef;
    ForEachElement(value, path, [&](const Json& element, const std::string& eventPath) {
        firstRef.push_back(refs.size());
        events.push_back(ReadEvent(element, eventPath, events.size(), refs, ids));
    });
    firstRef.push_back(refs.size());

    // Events run in time order, file order breaking ties; ids come and go in that order.
    SortByTime(events);
    std::vector<uint32_t> atMsByFileIndex(events.size());
    for (const Event& event : events) {
        atMsByFileIndex[event.sourceIndex] = event.atMs;
    }
    // The pools hold what the run will hold at each event: a spawn past their size cannot happen.
    int pedsPresent = static_cast<int>(scenario.peds.size()) + 1;
    int vehiclesPresent = static_cast<int>(scenario.vehicles.size());
    for (const Event& event : events) {
        for (std::size_t i = firstRef[event.sourceIndex]; i < firstRef[event.sourceIndex + 1]; ++i) {
            ids.Check(refs[i], true, &atMsByFileIndex, event.atMs);
        }
        const std::string eventPath = ElementPath(path, event.sourceIndex);
        const std::string when = " at " + std::to_string(event.atMs) + " ms";
        if (event.spawnPed && ++pedsPresent > kPedPoolSlots) {
            Fail(ChildPath(eventPath, "ped"), PoolFull("ped", kPedPoolSlots) + when);
        }
        if (event.spawnVehicle && ++vehiclesPresent > kVehiclePoolSlots) {
            Fail(ChildPath(eventPath, "vehicle"), PoolFull("vehicle", kVehiclePoolSlots) + when);
        }
        if (event.kind == EventKind::remove) {
            if (ids.KindOf(event.id) == ObjectKind::vehicle) {
                --vehiclesPresent;
            } else {
                --pedsPresent;
            }
        }
        if (event.spawnPed && !event.spawnPed->id.empty()) {
            ids.Spawned(event.spawnPed->id);
        }
        if (event.spawnVehicle && !event.spawnVehicle->id.empty()) {
            ids.Spawned(event.spawnVehicle->id);
        }
        if (event.kind == EventKind::remove) {
            ids.Removed(event.id, event.sourceIndex);
        }
    }
    return events;
}

}  // namespace sandbox::loader

namespace sandbox {

std::string_view EventKindName(EventKind kind) {
    for (const loader::EventType& type : loader::EventTypes()) {
        if (type.kind == kind) {
            return type.name;
        }
    }
    return "?";
}

}  // namespace sandbox
