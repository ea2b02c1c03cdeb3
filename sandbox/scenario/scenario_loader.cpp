#include "scenario/scenario_loader.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <sstream>
#include <unordered_set>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/ped.h"
#include "navigation/path_network.h"
#include "pools/pool_sizes.h"
#include "scenario/scenario_area.h"

namespace sandbox {

ScenarioError::ScenarioError(const std::string& source, const std::string& jsonPath,
                             const std::string& problem)
    : std::runtime_error(source + ": " + (jsonPath.empty() ? "" : jsonPath + ": ") + problem),
      jsonPath_(jsonPath) {}

namespace {

// ordered_json keeps the file order of object keys, which the settings must keep.
using Json = nlohmann::ordered_json;

// Thrown while reading; ParseScenario adds the source name.
struct PathError {
    std::string path;
    std::string problem;
};

[[noreturn]] void Fail(const std::string& path, const std::string& problem) {
    throw PathError{path, problem};
}

std::string ChildPath(const std::string& path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

std::string ElementPath(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
}

// ---- Value readers: each checks one JSON value and names its path when it is wrong. ----

float ReadReal(const Json& value, const std::string& path, double lo = -FLT_MAX, double hi = FLT_MAX) {
    if (!value.is_number()) {
        Fail(path, "expected a number");
    }
    double number = value.get<double>();
    if (number < lo || number > hi) {
        std::ostringstream range;
        if (lo == -FLT_MAX && hi == FLT_MAX) {
            range << "expected a number within the range of a float";
        } else if (hi == FLT_MAX) {
            range << "expected a number of at least " << lo;
        } else {
            range << "expected a number from " << lo << " to " << hi;
        }
        Fail(path, range.str());
    }
    return static_cast<float>(number);
}

float ReadPositive(const Json& value, const std::string& path) {
    float number = ReadReal(value, path);
    if (!(number > 0.0f)) {
        Fail(path, "expected a number greater than 0");
    }
    return number;
}

int64_t ReadWhole(const Json& value, const std::string& path, int64_t lo, int64_t hi) {
    std::optional<int64_t> whole;
    if (value.is_number_unsigned()) {
        uint64_t number = value.get<uint64_t>();
        if (number <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
            whole = static_cast<int64_t>(number);
        }
    } else if (value.is_number_integer()) {
        whole = value.get<int64_t>();
    } else if (value.is_number_float()) {
        // 5000.0 is as good as 5000; 5000.5 is not.
        double number = value.get<double>();
        if (std::trunc(number) == number && std::fabs(number) < 9.0e18) {
            whole = static_cast<int64_t>(number);
        }
    }
    if (!whole || *whole < lo || *whole > hi) {
        std::string range = hi == std::numeric_limits<int32_t>::max() && lo == 0
                                ? "a whole number of at least 0"
                                : "a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
        Fail(path, "expected " + range);
    }
    return *whole;
}

int ReadInt(const Json& value, const std::string& path, int64_t lo = 0,
            int64_t hi = std::numeric_limits<int32_t>::max()) {
    return static_cast<int>(ReadWhole(value, path, lo, hi));
}

uint32_t ReadMs(const Json& value, const std::string& path) {
    if (!value.is_number()) {
        Fail(path, "expected a whole number of milliseconds");
    }
    return static_cast<uint32_t>(ReadWhole(value, path, 0, std::numeric_limits<uint32_t>::max()));
}

bool ReadBool(const Json& value, const std::string& path) {
    if (!value.is_boolean()) {
        Fail(path, "expected true or false");
    }
    return value.get<bool>();
}

std::string ReadString(const Json& value, const std::string& path) {
    if (!value.is_string()) {
        Fail(path, "expected a string");
    }
    return value.get<std::string>();
}

// Ids appear in messages, log lines and probe names, so keep them printable.
std::string ReadId(const Json& value, const std::string& path) {
    std::string id = ReadString(value, path);
    if (id.empty() || HasControlCharacter(id)) {
        Fail(path, "expected a non-empty id without control characters");
    }
    return id;
}

// Positions stay within this many metres of the origin on every axis: far enough for any map, near
// enough that distances, grids and routes over them stay finite and small.
constexpr double kMaxCoordinate = 100000.0;

std::vector<float> ReadNumbers(const Json& value, const std::string& path, std::size_t count,
                               double lo = -FLT_MAX, double hi = FLT_MAX) {
    const std::string expected = "expected an array of " + std::to_string(count) + " numbers";
    if (!value.is_array() || value.size() != count) {
        Fail(path, expected);
    }
    std::vector<float> numbers;
    for (const Json& element : value) {
        if (!element.is_number()) {
            Fail(path, expected);
        }
        numbers.push_back(ReadReal(element, path, lo, hi));
    }
    return numbers;
}

Vec3 ReadVec3(const Json& value, const std::string& path) {
    std::vector<float> n = ReadNumbers(value, path, 3, -kMaxCoordinate, kMaxCoordinate);
    return {n[0], n[1], n[2]};
}

int ReadSeat(const Json& value, const std::string& path) {
    if (value.is_string() && value.get<std::string>() == "driver") {
        return kDriverSeat;
    }
    if (value.is_number()) {
        return ReadInt(value, path, 0, 7);
    }
    Fail(path, "expected \"driver\" or a passenger seat 0 to 7");
}

// ---- Objects: which keys are allowed, which are present. ----

class Fields {
public:
    Fields(const Json& value, std::string path) : value_(value), path_(std::move(path)) {
        if (!value_.is_object()) {
            Fail(path_, path_.empty() ? "expected a JSON object at the top level" : "expected an object");
        }
    }

    // Typos in key names would otherwise be silently ignored.
    void Allow(const std::vector<std::string_view>& allowed) const {
        for (const auto& item : value_.items()) {
            if (std::find(allowed.begin(), allowed.end(), item.key()) == allowed.end()) {
                std::string known;
                for (std::string_view key : allowed) {
                    known += (known.empty() ? "" : ", ") + std::string(key);
                }
                Fail(ChildPath(path_, item.key()), "unknown key (known here: " + known + ")");
            }
        }
    }

    const std::string& Path() const { return path_; }
    std::string PathOf(std::string_view key) const { return ChildPath(path_, key); }
    bool Has(std::string_view key) const { return value_.contains(key); }

    const Json* Optional(std::string_view key) const {
        auto it = value_.find(key);
        return it == value_.end() ? nullptr : &*it;
    }

    const Json& Required(std::string_view key) const {
        const Json* found = Optional(key);
        if (found == nullptr) {
            Fail(PathOf(key), "missing (required)");
        }
        return *found;
    }

    template <typename Read>
    auto Req(std::string_view key, Read read) const {
        return read(Required(key), PathOf(key));
    }

    template <typename T, typename Read>
    T Opt(std::string_view key, T fallback, Read read) const {
        const Json* found = Optional(key);
        return found == nullptr ? fallback : static_cast<T>(read(*found, PathOf(key)));
    }

private:
    const Json& value_;
    std::string path_;
};

// Adapters so that readers with ranges fit Fields::Req/Opt.
auto Whole(int64_t lo = 0, int64_t hi = std::numeric_limits<int32_t>::max()) {
    return [lo, hi](const Json& value, const std::string& path) { return ReadInt(value, path, lo, hi); };
}

auto AtLeast(double lo) {
    return [lo](const Json& value, const std::string& path) { return ReadReal(value, path, lo); };
}

template <typename Each>
void ForEachElement(const Json& value, const std::string& path, Each each) {
    if (!value.is_array()) {
        Fail(path, "expected an array");
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
        each(value[i], ElementPath(path, i));
    }
}

std::vector<Weapon> ReadWeapons(const Json& value, const std::string& path) {
    std::vector<Weapon> weapons;
    ForEachElement(value, path, [&](const Json& element, const std::string& elementPath) {
        if (weapons.size() == CPed::kWeaponSlots) {
            Fail(elementPath, "a ped has " + std::to_string(CPed::kWeaponSlots) + " weapon slots, all taken");
        }
        Fields f(element, elementPath);
        f.Allow({"type", "ammo"});
        weapons.push_back({f.Req("type", Whole()), f.Req("ammo", Whole())});
    });
    return weapons;
}

// ---- Ids and the references to them. ----

enum class ObjectKind { player, ped, vehicle, box };

enum class RefKind {
    ped,             // a ped other than the player
    pedOrPlayer,
    vehicle,
    pedOrVehicle,    // not the player
    anyActor,        // ped, vehicle or player
};

struct PendingRef {
    std::string path;
    std::string id;
    RefKind kind;
};

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

struct Declaration {
    ObjectKind kind;
    std::string path;
    std::optional<std::size_t> spawnedBy;  // event file index
};

// Every id in the file, and which of them exist at a given point of the run.
class IdRegistry {
public:
    void Declare(const std::string& id, ObjectKind kind, const std::string& idPath,
                 std::optional<std::size_t> spawnedBy = std::nullopt) {
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

    // Checks that the id names something of the right kind and, with needPresent, that it exists now.
    void Check(const PendingRef& ref, bool needPresent, const std::vector<Event>* eventsByFileIndex = nullptr,
               uint32_t nowMs = 0) const {
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
        if (found.spawnedBy && eventsByFileIndex != nullptr) {
            const Event& spawn = (*eventsByFileIndex)[*found.spawnedBy];
            spawnNote = " (spawned at " + std::to_string(spawn.atMs) + " ms by events[" +
                        std::to_string(*found.spawnedBy) + "])";
        }
        Fail(ref.path, Quoted(ref.id) + " does not exist yet" + when + spawnNote);
    }

    void Spawned(const std::string& id) { present_.insert(id); }

    ObjectKind KindOf(const std::string& id) const { return declared_.at(id).kind; }

    void Removed(const std::string& id, std::size_t byEvent) {
        present_.erase(id);
        removedBy_[id] = byEvent;
    }

private:
    std::map<std::string, Declaration> declared_;
    std::set<std::string> present_;
    std::map<std::string, std::size_t> removedBy_;
};

// ---- Ped and vehicle objects, shared by the start lists and the spawn event. ----

// How long getting out of a vehicle takes; 0 would make the exit task end before anyone saw it.
uint32_t ReadLeaveMs(const Json& value, const std::string& path) {
    return static_cast<uint32_t>(ReadWhole(value, path, 1, std::numeric_limits<int32_t>::max()));
}

PedSpec ReadPed(const Json& value, const std::string& path, std::vector<PendingRef>& refs) {
    Fields f(value, path);
    f.Allow({"id", "type", "pos", "heading", "health", "armour", "weapons", "vehicle", "seat", "leaveMs"});
    PedSpec ped;
    ped.id = f.Opt("id", std::string(), ReadId);
    ped.type = f.Req("type", Whole());
    ped.pos = f.Req("pos", ReadVec3);
    ped.heading = f.Opt("heading", 0.0f, AtLeast(-FLT_MAX));
    ped.health = f.Opt("health", 100.0f, AtLeast(0.0));
    ped.armour = f.Opt("armour", 0.0f, AtLeast(0.0));
    ped.weapons = f.Opt("weapons", std::vector<Weapon>(), ReadWeapons);
    ped.vehicle = f.Opt("vehicle", std::string(), ReadId);
    ped.seat = f.Opt("seat", kDriverSeat, ReadSeat);
    if (f.Has("leaveMs")) ped.leaveMs = f.Req("leaveMs", ReadLeaveMs);
    if (ped.vehicle.empty() && f.Has("seat")) {
        Fail(f.PathOf("seat"), "a seat needs a vehicle");
    }
    if (!ped.vehicle.empty()) {
        refs.push_back({f.PathOf("vehicle"), ped.vehicle, RefKind::vehicle});
    }
    return ped;
}

VehicleSpec ReadVehicle(const Json& value, const std::string& path) {
    Fields f(value, path);
    f.Allow({"id", "model", "pos", "heading", "lawEnforcer", "leaveMs"});
    VehicleSpec vehicle;
    vehicle.id = f.Opt("id", std::string(), ReadId);
    vehicle.model = f.Req("model", Whole());
    vehicle.pos = f.Req("pos", ReadVec3);
    vehicle.heading = f.Opt("heading", 0.0f, AtLeast(-FLT_MAX));
    vehicle.lawEnforcer = f.Opt("lawEnforcer", false, ReadBool);
    if (f.Has("leaveMs")) vehicle.leaveMs = f.Req("leaveMs", ReadLeaveMs);
    return vehicle;
}

// ---- Events: one entry per "do" name. ----

struct KeyName {
    std::string_view name;
    int code;
};

// Windows virtual-key codes, which is what the plugin polls.
std::optional<KeyName> FindKey(std::string_view name) {
    static const std::vector<KeyName> named = {
        {"Backspace", 0x08}, {"Tab", 0x09},      {"Enter", 0x0D},    {"Shift", 0x10},  {"Ctrl", 0x11},
        {"Alt", 0x12},       {"Escape", 0x1B},   {"Space", 0x20},    {"PageUp", 0x21}, {"PageDown", 0x22},
        {"End", 0x23},       {"Home", 0x24},     {"Left", 0x25},     {"Up", 0x26},     {"Right", 0x27},
        {"Down", 0x28},      {"Insert", 0x2D},   {"Delete", 0x2E},
    };
    static const std::vector<std::string> generated = [] {
        std::vector<std::string> names;
        for (int i = 1; i <= 12; ++i) {
            names.push_back("F" + std::to_string(i));
        }
        for (char c = 'A'; c <= 'Z'; ++c) {
            names.emplace_back(1, c);
        }
        for (char c = '0'; c <= '9'; ++c) {
            names.emplace_back(1, c);
        }
        return names;
    }();
    auto sameIgnoringCase = [name](std::string_view candidate) {
        return std::equal(name.begin(), name.end(), candidate.begin(), candidate.end(), [](char a, char b) {
            return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
        });
    };
    for (const KeyName& key : named) {
        if (sameIgnoringCase(key.name)) {
            return key;
        }
    }
    for (std::size_t i = 0; i < generated.size(); ++i) {
        if (sameIgnoringCase(generated[i])) {
            int code = i < 12 ? 0x70 + static_cast<int>(i) : static_cast<int>(generated[i][0]);
            return KeyName{generated[i], code};
        }
    }
    return std::nullopt;
}

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

const std::vector<EventType>& EventTypes() {
    static const std::vector<EventType> types = {
        {"playerMove", EventKind::playerMove, {"to", "speed"},
         [](EventReader& r, Event& e) {
             e.to = r.fields.Req("to", ReadVec3);
             e.speed = r.fields.Req("speed", ReadPositive);
         }},
        {"playerWarp", EventKind::playerWarp, {"to", "heading"},
         [](EventReader& r, Event& e) {
             e.to = r.fields.Req("to", ReadVec3);
             if (r.fields.Has("heading")) {
                 e.heading = r.fields.Req("heading", AtLeast(-FLT_MAX));
             }
         }},
        {"playerEnter", EventKind::playerEnter, {"vehicle", "seat"},
         [](EventReader& r, Event& e) {
             e.vehicle = r.Ref("vehicle", RefKind::vehicle);
             e.seat = r.fields.Opt("seat", kDriverSeat, ReadSeat);
         }},
        {"playerExit", EventKind::playerExit, {}, [](EventReader&, Event&) {}},
        {"playerFire", EventKind::playerFire, {"weapon", "forMs"},
         [](EventReader& r, Event& e) {
             e.weapon = r.fields.Req("weapon", Whole());
             e.forMs = r.fields.Req("forMs", ReadMs);
         }},
        {"playerDie", EventKind::playerDie, {}, [](EventReader&, Event&) {}},
        {"wanted", EventKind::wanted, {"level"},
         [](EventReader& r, Event& e) { e.level = r.fields.Req("level", Whole(0, 6)); }},
        {"key", EventKind::key, {"key", "forMs"},
         [](EventReader& r, Event& e) {
             std::string name = r.fields.Req("key", ReadString);
             std::optional<KeyName> key = FindKey(name);
             if (!key) {
                 Fail(r.fields.PathOf("key"), "unknown key name " + Quoted(name) +
                                                  " (use F1-F12, A-Z, 0-9 or a name such as Shift, Space)");
             }
             e.key = std::string(key->name);
             e.keyCode = key->code;
             e.forMs = r.fields.Req("forMs", ReadMs);
         }},
        {"spawn", EventKind::spawn, {"ped", "vehicle"},
         [](EventReader& r, Event& e) {
             if (r.fields.Has("ped") == r.fields.Has("vehicle")) {
                 Fail(r.fields.Path(), "spawn needs exactly one of ped or vehicle");
             }
             if (r.fields.Has("ped")) {
                 e.spawnPed = r.Ped(r.fields.Required("ped"), r.fields.PathOf("ped"));
             } else {
                 e.spawnVehicle = r.Vehicle(r.fields.Required("vehicle"), r.fields.PathOf("vehicle"));
             }
         }},
        {"remove", EventKind::remove, {"id"},
         [](EventReader& r, Event& e) { e.id = r.Ref("id", RefKind::pedOrVehicle); }},
        {"damage", EventKind::damage, {"target", "source", "amount"},
         [](EventReader& r, Event& e) {
             e.target = r.Ref("target", RefKind::pedOrPlayer);
             e.source = r.Ref("source", RefKind::anyActor);
             e.amount = r.fields.Req("amount", AtLeast(0.0));
         }},
        {"pedMoveTo", EventKind::pedMoveTo, {"id", "to", "speed"},
         [](EventReader& r, Event& e) {
             e.id = r.Ref("id", RefKind::ped);
             e.to = r.fields.Req("to", ReadVec3);
             e.speed = r.fields.Req("speed", ReadPositive);
         }},
        {"hostTask", EventKind::hostTask, {"id", "task", "forMs"},
         [](EventReader& r, Event& e) {
             e.id = r.Ref("id", RefKind::ped);
             e.task = r.fields.Req("task", Whole());
             e.forMs = r.fields.Opt("forMs", uint32_t{0}, ReadMs);
         }},
        {"hostCriminal", EventKind::hostCriminal, {"id", "slot"},
         [](EventReader& r, Event& e) {
             e.id = r.Ref("id", RefKind::ped);
             e.slot = r.fields.Opt("slot", -1, Whole(0, kCriminalListSlots - 1));
         }},
        {"hostMission", EventKind::hostMission, {"vehicle", "mission"},
         [](EventReader& r, Event& e) {
             e.vehicle = r.Ref("vehicle", RefKind::vehicle);
             // One byte in the host: either reading of it is accepted.
             e.mission = r.fields.Req("mission", Whole(-128, 255));
         }},
        {"pedType", EventKind::pedType, {"id", "type"},
         [](EventReader& r, Event& e) {
             e.id = r.Ref("id", RefKind::ped);
             e.pedType = r.fields.Req("type", Whole());
         }},
        {"hostLawFlag", EventKind::hostLawFlag, {"vehicle", "on"},
         [](EventReader& r, Event& e) {
             e.vehicle = r.Ref("vehicle", RefKind::vehicle);
             e.on = r.fields.Req("on", ReadBool);
         }},
        {"hostCopCarCounter", EventKind::hostCopCarCounter, {"value"},
         [](EventReader& r, Event& e) {
             e.value = r.fields.Req("value", Whole(std::numeric_limits<int32_t>::min()));
         }},
    };
    return types;
}

// ---- Expectations. ----

const std::vector<std::pair<std::string_view, ExpectKind>>& ExpectForms() {
    static const std::vector<std::pair<std::string_view, ExpectKind>> forms = {
        {"log", ExpectKind::log},           {"noLog", ExpectKind::noLog}, {"logCount", ExpectKind::logCount},
        {"logOrder", ExpectKind::logOrder}, {"probe", ExpectKind::probe},
    };
    return forms;
}

// ---- The whole file. ----

std::string PoolFull(std::string_view kind, int slots) {
    return "the " + std::string(kind) + " pool is full: it has " + std::to_string(slots) + " slots";
}

class Loader {
public:
    Scenario Load(const Json& root, std::string_view sourceName);

private:
    void ReadWorld(const Fields& f, WorldSpec& world);
    void ReadPlayer(const Fields& f, PlayerSpec& player);
    void ReadSettings(const Json& value, const std::string& path, Scenario& scenario);
    void ReadEvents(const Json& value, const std::string& path, Scenario& scenario);
    Expectation ReadExpectation(const Json& value, const std::string& path);
    void ReadProbeCheck(const Fields& f, Expectation& expectation);
    void CheckSeatsTaken(const Scenario& scenario);

    IdRegistry ids_;
    std::vector<PendingRef> startRefs_;
};

constexpr std::string_view kNotInNames = "/\\:*?\"<>|";

std::string DefaultName(std::string_view sourceName) {
    std::string name = std::filesystem::path(sourceName).stem().string();
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || kNotInNames.find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return name.empty() || name == "." || name == ".." ? "scenario" : name;
}

// The name becomes a folder under runs/, so it must be one harmless path component.
std::string ReadName(const Json& value, const std::string& path) {
    std::string name = ReadString(value, path);
    bool bad = name.empty() || name == "." || name == ".." || HasControlCharacter(name) ||
               name.find_first_of(kNotInNames) != std::string::npos || name.front() == ' ' ||
               name.back() == ' ' || name.back() == '.';
    if (bad) {
        Fail(path, "expected a name usable as a folder name (no / \\ : * ? \" < > |, no leading or trailing "
                   "space, not ending in a dot)");
    }
    return name;
}

FrameTime ReadFrameTime(const Json& value, const std::string& path) {
    if (value.is_array()) {
        if (value.size() != 2) {
            Fail(path, "expected a number of milliseconds or [min, max]");
        }
        FrameTime frame;
        frame.minMs = ReadMs(value[0], ElementPath(path, 0));
        frame.maxMs = ReadMs(value[1], ElementPath(path, 1));
        if (frame.minMs == 0) {
            Fail(ElementPath(path, 0), "a frame must take at least 1 ms");
        }
        if (frame.minMs > frame.maxMs) {
            Fail(path, "min is greater than max");
        }
        return frame;
    }
    uint32_t ms = ReadMs(value, path);
    if (ms == 0) {
        Fail(path, "a frame must take at least 1 ms");
    }
    return {ms, ms};
}

Scenario Loader::Load(const Json& root, std::string_view sourceName) {
    Fields f(root, "");
    f.Allow({"name", "description", "seed", "clockStartMs", "frameMs", "durationMs", "settings", "ini",
             "world", "player", "peds", "vehicles", "host", "events", "expect"});
    Scenario scenario;
    scenario.sourceName = std::string(sourceName);
    scenario.name = f.Opt("name", DefaultName(sourceName), ReadName);
    scenario.description = f.Opt("description", std::string(), ReadString);
    scenario.seed = f.Opt("seed", uint32_t{1}, [](const Json& v, const std::string& p) {
        return ReadWhole(v, p, 0, std::numeric_limits<uint32_t>::max());
    });
    scenario.clockStartMs = f.Opt("clockStartMs", uint32_t{0}, ReadMs);
    scenario.frame = f.Opt("frameMs", FrameTime{}, ReadFrameTime);
    scenario.durationMs = f.Req("durationMs", ReadMs);
    if (f.Has("settings") && f.Has("ini")) {
        Fail("ini", "give either settings or ini, not both");
    }
    if (const Json* settings = f.Optional("settings")) {
        ReadSettings(*settings, "settings", scenario);
    }
    if (f.Has("ini")) {
        scenario.ini = f.Req("ini", ReadString);
    }
    ids_.Declare(std::string(kPlayerId), ObjectKind::player, "player");
    if (const Json* world = f.Optional("world")) {
        ReadWorld(Fields(*world, "world"), scenario.world);
    }

    // Who sits in which vehicle is checked once all start objects are known.
    if (const Json* vehicles = f.Optional("vehicles")) {
        ForEachElement(*vehicles, "vehicles", [&](const Json& value, const std::string& path) {
            if (scenario.vehicles.size() == static_cast<std::size_t>(kVehiclePoolSlots)) {
                Fail(path, PoolFull("vehicle", kVehiclePoolSlots));
            }
            scenario.vehicles.push_back(ReadVehicle(value, path));
            ids_.Declare(scenario.vehicles.back().id, ObjectKind::vehicle, ChildPath(path, "id"));
        });
    }
    ReadPlayer(Fields(f.Required("player"), "player"), scenario.player);
    if (const Json* peds = f.Optional("peds")) {
        ForEachElement(*peds, "peds", [&](const Json& value, const std::string& path) {
            if (scenario.peds.size() + 1 == static_cast<std::size_t>(kPedPoolSlots)) {
                Fail(path, PoolFull("ped", kPedPoolSlots) + ", the player's included");
            }
            scenario.peds.push_back(ReadPed(value, path, startRefs_));
            ids_.Declare(scenario.peds.back().id, ObjectKind::ped, ChildPath(path, "id"));
        });
    }
    for (const PendingRef& ref : startRefs_) {
        ids_.Check(ref, true);
    }
    CheckSeatsTaken(scenario);

    if (const Json* host = f.Optional("host")) {
        Fields h(*host, "host");
        h.Allow({"pursuit", "copCarCounter"});
        scenario.host.pursuit = h.Opt("pursuit", true, ReadBool);
        const Json* counter = h.Optional("copCarCounter");
        if (counter != nullptr && !counter->is_null()) {
            scenario.host.copCarCounter = ReadInt(*counter, h.PathOf("copCarCounter"),
                                                  std::numeric_limits<int32_t>::min());
        }
    }
    // Events may declare ids that expectations probe, so they come first.
    if (const Json* events = f.Optional("events")) {
        ReadEvents(*events, "events", scenario);
    }
    if (const Json* expect = f.Optional("expect")) {
        ForEachElement(*expect, "expect", [&](const Json& value, const std::string& path) {
            scenario.expect.push_back(ReadExpectation(value, path));
        });
    }
    // The node grid covers everything the scenario places or sends somewhere, events included.
    if (scenario.world.pedNodes.layout == PedNodes::Layout::grid) {
        const auto [lo, hi] = ScenarioArea(scenario);
        if (std::string problem = PathNetwork::GridProblem(scenario.world.pedNodes.spacing, lo, hi);
            !problem.empty()) {
            Fail("world.pedNodes", problem);
        }
    }
    return scenario;
}

void Loader::ReadSettings(const Json& value, const std::string& path, Scenario& scenario) {
    if (!value.is_object()) {
        Fail(path, "expected an object of key: number");
    }
    std::vector<Setting> settings;
    std::map<std::string, std::string> byFoldedKey;  // INI keys ignore case
    for (const auto& item : value.items()) {
        const std::string& key = item.key();
        std::string keyPath = ChildPath(path, key);
        // The key is written as "key=value" into the INI file; nothing may break that line apart.
        bool badKey = key.empty() || HasControlCharacter(key) || key.front() == ' ' || key.back() == ' ' ||
                      key.find_first_of("=[];#") != std::string::npos;
        if (badKey) {
            Fail(keyPath, "not usable as an INI key (no = [ ] ; # or control characters, no outer spaces)");
        }
        std::string folded = key;
        std::transform(folded.begin(), folded.end(), folded.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        if (auto [it, added] = byFoldedKey.emplace(folded, key); !added) {
            Fail(keyPath, "the same INI key as " + it->second + " (case does not count)");
        }
        const Json& number = item.value();
        if (!number.is_number()) {
            Fail(keyPath, "expected a number");
        }
        settings.push_back({key, number.get<double>(), number.is_number_integer(), number.dump()});
    }
    scenario.settings = std::move(settings);
}

void Loader::ReadWorld(const Fields& f, WorldSpec& world) {
    f.Allow({"groundZ", "boxes", "noGround", "pedNodes", "codeBuild", "starCallSites"});
    world.groundZ = f.Opt("groundZ", 0.0f, [](const Json& v, const std::string& p) {
        return ReadReal(v, p, -kMaxCoordinate, kMaxCoordinate);
    });
    if (const Json* boxes = f.Optional("boxes")) {
        ForEachElement(*boxes, f.PathOf("boxes"), [&](const Json& value, const std::string& path) {
            Fields b(value, path);
            b.Allow({"id", "min", "max"});
            Box box{b.Opt("id", std::string(), ReadId), b.Req("min", ReadVec3), b.Req("max", ReadVec3)};
            if (box.min.x > box.max.x || box.min.y > box.max.y || box.min.z > box.max.z) {
                Fail(b.PathOf("max"), "below min on some axis");
            }
            ids_.Declare(box.id, ObjectKind::box, b.PathOf("id"));
            world.boxes.push_back(box);
        });
    }
    if (const Json* areas = f.Optional("noGround")) {
        ForEachElement(*areas, f.PathOf("noGround"), [&](const Json& value, const std::string& path) {
            Fields a(value, path);
            a.Allow({"min", "max"});
            const auto corner = [](const Json& v, const std::string& p) {
                return ReadNumbers(v, p, 2, -kMaxCoordinate, kMaxCoordinate);
            };
            std::vector<float> lo = a.Req("min", corner);
            std::vector<float> hi = a.Req("max", corner);
            if (lo[0] > hi[0] || lo[1] > hi[1]) {
                Fail(a.PathOf("max"), "below min on some axis");
            }
            world.noGround.push_back({lo[0], lo[1], hi[0], hi[1]});
        });
    }
    if (const Json* nodes = f.Optional("pedNodes")) {
        std::string path = f.PathOf("pedNodes");
        if (nodes->is_array()) {
            world.pedNodes.layout = PedNodes::Layout::points;
            ForEachElement(*nodes, path, [&](const Json& value, const std::string& pointPath) {
                world.pedNodes.points.push_back(ReadVec3(value, pointPath));
            });
        } else {
            if (!nodes->is_object()) {
                Fail(path, "expected { \"spacing\": S } or a list of points");
            }
            Fields n(*nodes, path);
            n.Allow({"spacing"});
            world.pedNodes.layout = PedNodes::Layout::grid;
            // A finer grid would make the node count explode over a large area.
            world.pedNodes.spacing = n.Req("spacing", AtLeast(1.0));
        }
    }
    world.codeBuild = f.Opt("codeBuild", 1001, Whole(std::numeric_limits<int32_t>::min()));
    world.starCallSites = f.Opt("starCallSites", 2, Whole(0, 255));
}

void Loader::ReadPlayer(const Fields& f, PlayerSpec& player) {
    f.Allow({"pos", "heading", "health", "wanted", "weapons", "vehicle", "seat"});
    player.pos = f.Opt("pos", Vec3{}, ReadVec3);
    player.heading = f.Opt("heading", 0.0f, AtLeast(-FLT_MAX));
    player.health = f.Opt("health", 100.0f, AtLeast(0.0));
    player.wanted = f.Opt("wanted", 0, Whole(0, 6));
    player.weapons = f.Opt("weapons", std::vector<Weapon>(), ReadWeapons);
    player.vehicle = f.Opt("vehicle", std::string(), ReadId);
    player.seat = f.Opt("seat", kDriverSeat, ReadSeat);
    if (player.vehicle.empty() && f.Has("seat")) {
        Fail(f.PathOf("seat"), "a seat needs a vehicle");
    }
    if (!player.vehicle.empty()) {
        startRefs_.push_back({f.PathOf("vehicle"), player.vehicle, RefKind::vehicle});
    }
}

std::string SeatWord(int seat) {
    return seat == kDriverSeat ? "the driver's seat" : "passenger seat " + std::to_string(seat);
}

void Loader::CheckSeatsTaken(const Scenario& scenario) {
    std::map<std::pair<std::string, int>, std::string> taken;
    auto occupy = [&](const std::string& vehicle, int seat, const std::string& who, const std::string& path) {
        if (vehicle.empty()) {
            return;
        }
        auto [it, added] = taken.emplace(std::make_pair(vehicle, seat), who);
        if (!added) {
            Fail(path, SeatWord(seat) + " of " + Quoted(vehicle) + " is already taken by " + it->second);
        }
    };
    occupy(scenario.player.vehicle, scenario.player.seat, "the player", "player.seat");
    for (std::size_t i = 0; i < scenario.peds.size(); ++i) {
        const PedSpec& ped = scenario.peds[i];
        std::string who = ped.id.empty() ? "peds[" + std::to_string(i) + "]" : Quoted(ped.id);
        occupy(ped.vehicle, ped.seat, who, ChildPath(ElementPath("peds", i), "seat"));
    }
}

void Loader::ReadEvents(const Json& value, const std::string& path, Scenario& scenario) {
    std::vector<Event> events;
    std::vector<std::vector<PendingRef>> refs;
    ForEachElement(value, path, [&](const Json& element, const std::string& eventPath) {
        Fields f(element, eventPath);
        std::string name = f.Req("do", ReadString);
        const auto& types = EventTypes();
        auto type = std::find_if(types.begin(), types.end(),
                                 [&](const EventType& t) { return t.name == name; });
        if (type == types.end()) {
            Fail(f.PathOf("do"), "unknown event " + Quoted(name));
        }
        std::vector<std::string_view> allowed = {"at", "do"};
        allowed.insert(allowed.end(), type->keys.begin(), type->keys.end());
        f.Allow(allowed);

        Event event;
        event.kind = type->kind;
        event.sourceIndex = events.size();
        event.atMs = f.Req("at", ReadMs);
        refs.emplace_back();
        EventReader reader(f, refs.back(), ids_, event.sourceIndex);
        type->read(reader, event);
        events.push_back(std::move(event));
    });

    // Events run in time order, file order breaking ties; ids come and go in that order.
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.atMs < b.atMs; });
    std::vector<Event> byFileIndex(events.size());
    for (const Event& event : events) {
        byFileIndex[event.sourceIndex] = event;
    }
    // The pools hold what the run will hold at each event: a spawn past their size cannot happen.
    int pedsPresent = static_cast<int>(scenario.peds.size()) + 1;
    int vehiclesPresent = static_cast<int>(scenario.vehicles.size());
    for (const Event& event : events) {
        for (const PendingRef& ref : refs[event.sourceIndex]) {
            ids_.Check(ref, true, &byFileIndex, event.atMs);
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
            if (ids_.KindOf(event.id) == ObjectKind::vehicle) {
                --vehiclesPresent;
            } else {
                --pedsPresent;
            }
        }
        if (event.spawnPed && !event.spawnPed->id.empty()) {
            ids_.Spawned(event.spawnPed->id);
        }
        if (event.spawnVehicle && !event.spawnVehicle->id.empty()) {
            ids_.Spawned(event.spawnVehicle->id);
        }
        if (event.kind == EventKind::remove) {
            ids_.Removed(event.id, event.sourceIndex);
        }
    }
    scenario.events = std::move(events);
}

Expectation Loader::ReadExpectation(const Json& value, const std::string& path) {
    Fields f(value, path);
    Expectation expectation;
    std::string_view formName;
    for (const auto& [name, kind] : ExpectForms()) {
        if (!f.Has(name)) {
            continue;
        }
        if (!formName.empty()) {
            Fail(path, "give only one of log, noLog, logCount, logOrder, probe (found " +
                           std::string(formName) + " and " + std::string(name) + ")");
        }
        formName = name;
        expectation.kind = kind;
    }
    if (formName.empty()) {
        Fail(path, "expected one of log, noLog, logCount, logOrder or probe");
    }

    if (expectation.kind == ExpectKind::probe) {
        f.Allow({"probe", "at", "eq", "min", "max", "near", "tol"});
        expectation.atMs = f.Req("at", ReadMs);
        expectation.probeText = f.Req("probe", ReadString);
        try {
            expectation.probe = ParseProbeName(expectation.probeText);
        } catch (const std::invalid_argument& error) {
            Fail(f.PathOf("probe"), error.what());
        }
        ProbeKind kind = expectation.probe.kind;
        if (kind == ProbeKind::ped || kind == ProbeKind::vehicle) {
            RefKind refKind = kind == ProbeKind::ped ? RefKind::pedOrPlayer : RefKind::vehicle;
            ids_.Check({f.PathOf("probe"), expectation.probe.id, refKind}, false);
        }
        ReadProbeCheck(f, expectation);
        return expectation;
    }

    std::vector<std::string_view> allowed = {formName, "by", "after"};
    if (expectation.kind == ExpectKind::logCount) {
        allowed.insert(allowed.end(), {"min", "max"});
    }
    f.Allow(allowed);
    if (expectation.kind == ExpectKind::logOrder) {
        ForEachElement(f.Required(formName), f.PathOf(formName),
                       [&](const Json& p, const std::string& pPath) {
                           expectation.patterns.push_back(ReadString(p, pPath));
                       });
        if (expectation.patterns.empty()) {
            Fail(f.PathOf(formName), "expected at least one pattern");
        }
    } else {
        expectation.patterns.push_back(f.Req(formName, ReadString));
    }
    if (f.Has("by")) {
        expectation.byMs = f.Req("by", ReadMs);
    }
    if (f.Has("after")) {
        expectation.afterMs = f.Req("after", ReadMs);
    }
    if (expectation.byMs && expectation.afterMs && *expectation.afterMs > *expectation.byMs) {
        Fail(f.PathOf("after"), "later than by, so the window is empty");
    }
    if (expectation.kind == ExpectKind::logCount) {
        auto count = [](const Json& v, const std::string& p) {
            return static_cast<uint32_t>(ReadWhole(v, p, 0, std::numeric_limits<uint32_t>::max()));
        };
        if (f.Has("min")) {
            expectation.minCount = f.Req("min", count);
        }
        if (f.Has("max")) {
            expectation.maxCount = f.Req("max", count);
        }
        if (!expectation.minCount && !expectation.maxCount) {
            Fail(path, "logCount needs min or max");
        }
        if (expectation.minCount && expectation.maxCount && *expectation.minCount > *expectation.maxCount) {
            Fail(f.PathOf("max"), "less than min");
        }
    }
    return expectation;
}

void Loader::ReadProbeCheck(const Fields& f, Expectation& expectation) {
    bool hasRange = f.Has("min") || f.Has("max");
    int checks = int{f.Has("eq")} + int{f.Has("near")} + int{hasRange};
    if (checks != 1) {
        Fail(f.Path(), "a probe needs exactly one of eq, near (with tol), or min and/or max");
    }
    if (f.Has("tol") != f.Has("near")) {
        Fail(f.PathOf(f.Has("tol") ? "tol" : "near"), "near and tol go together");
    }
    if (expectation.probe.IsText()) {
        if (!f.Has("eq")) {
            Fail(f.Path(), expectation.probeText + " is text: only eq applies");
        }
        expectation.eqText = f.Req("eq", ReadString);
        return;
    }
    // Doubles, not floats: a tolerance of 0.1 should mean exactly that.
    auto number = [](const Json& v, const std::string& p) {
        if (!v.is_number()) {
            Fail(p, "expected a number");
        }
        return v.get<double>();
    };
    if (const Json* eq = f.Optional("eq")) {
        // true/false read naturally for the 0/1 probes.
        expectation.eq = eq->is_boolean() ? (eq->get<bool>() ? 1.0 : 0.0) : number(*eq, f.PathOf("eq"));
    }
    if (f.Has("near")) {
        expectation.nearValue = f.Req("near", number);
        expectation.tol = f.Req("tol", number);
        if (expectation.tol < 0.0) {
            Fail(f.PathOf("tol"), "expected a number of at least 0");
        }
    }
    if (f.Has("min")) {
        expectation.min = f.Req("min", number);
    }
    if (f.Has("max")) {
        expectation.max = f.Req("max", number);
    }
    if (expectation.min && expectation.max && *expectation.min > *expectation.max) {
        Fail(f.PathOf("max"), "less than min");
    }
}

// ---- JSON text: syntax errors and duplicate keys, which the parser would otherwise let through. ----

// Walks the text once before it is parsed into values: duplicate keys are an error at their path,
// and so is an object with more keys than any scenario needs (an ordered object is slow to fill
// with very many). Syntax errors are left to the parse that follows, which words them better.
class KeyCheck final : public nlohmann::json_sax<Json> {
public:
    static constexpr std::size_t kMaxKeysPerObject = 10000;

    bool null() override { return Element(); }
    bool boolean(bool) override { return Element(); }
    bool number_integer(number_integer_t) override { return Element(); }
    bool number_unsigned(number_unsigned_t) override { return Element(); }
    bool number_float(number_float_t, const string_t&) override { return Element(); }
    bool string(string_t&) override { return Element(); }
    bool binary(binary_t&) override { return Element(); }
    bool start_object(std::size_t) override {
        Element();
        frames_.push_back({false, 0, {}, {}});
        return true;
    }
    bool key(string_t& key) override {
        Frame& frame = frames_.back();
        frame.key = key;
        if (!frame.keys.insert(key).second) {
            Fail(CurrentPath(), "duplicate key");
        }
        if (frame.keys.size() > kMaxKeysPerObject) {
            Fail(CurrentPath(), "more than " + std::to_string(kMaxKeysPerObject) + " keys in one object");
        }
        return true;
    }
    bool end_object() override { return End(); }
    bool start_array(std::size_t) override {
        Element();
        frames_.push_back({true, 0, {}, {}});
        return true;
    }
    bool end_array() override { return End(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    struct Frame {
        bool isArray;
        std::size_t count;  // elements begun so far (arrays)
        std::string key;    // the key being read (objects)
        std::unordered_set<std::string> keys;
    };

    bool Element() {
        if (!frames_.empty() && frames_.back().isArray) {
            ++frames_.back().count;
        }
        return true;
    }

    bool End() {
        frames_.pop_back();
        return true;
    }

    std::string CurrentPath() const {
        std::string path;
        for (const Frame& frame : frames_) {
            path = frame.isArray ? ElementPath(path, frame.count - 1) : ChildPath(path, frame.key);
        }
        return path;
    }

    std::vector<Frame> frames_;
};

// The library's message without its "[json.exception.parse_error.101] " prefix; line and column stay.
std::string LibraryMessage(const nlohmann::json::exception& error) {
    std::string message = error.what();
    std::size_t end = message.find("] ");
    return end == std::string::npos ? message : message.substr(end + 2);
}

uint16_t ParseCommandHex(std::string_view hex, std::string_view text, std::string_view form) {
    auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    if (hex.empty() || hex.size() > 4 || !std::all_of(hex.begin(), hex.end(), isHex)) {
        throw std::invalid_argument("expected " + std::string(form) + " with 1 to 4 hex digits, got " +
                                    Quoted(text));
    }
    return static_cast<uint16_t>(std::stoul(std::string(hex), nullptr, 16));
}

// Dot-separated whole numbers, each within [0, limit), as many as `limits` has.
std::vector<int> ParseIndexes(std::string_view parts, const std::vector<int>& limits, std::string_view text,
                              std::string_view form) {
    std::vector<int> numbers;
    for (int limit : limits) {
        const std::size_t dot = parts.find('.');
        const std::string_view part = parts.substr(0, dot);
        const bool digits =
            !part.empty() && part.size() <= 3 &&
            std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
        const int number = digits ? std::stoi(std::string(part)) : -1;
        if (number < 0 || number >= limit ||
            (numbers.size() + 1 < limits.size()) == (dot == std::string_view::npos)) {
            throw std::invalid_argument("expected " + std::string(form) + ", got " + Quoted(text));
        }
        numbers.push_back(number);
        parts = dot == std::string_view::npos ? std::string_view() : parts.substr(dot + 1);
    }
    return numbers;
}

// The colour probes end in ENTRY.CHANNEL: a colour table entry and one of r, g, b, a.
void ParseColourProbe(std::string_view rest, ProbeName& probe, std::string_view text, bool perCall) {
    static constexpr std::string_view kChannels = "rgba";
    const std::string_view form = perCall ? "drawnColour:CALL.ENTRY.r|g|b|a" : "hudColour:ENTRY.r|g|b|a";
    const std::size_t dot = rest.rfind('.');
    const std::size_t channel = dot == std::string_view::npos || rest.size() != dot + 2
                                    ? std::string_view::npos
                                    : kChannels.find(rest[dot + 1]);
    if (channel == std::string_view::npos)
        throw std::invalid_argument("expected " + std::string(form) + ", got " + Quoted(text));
    std::vector<int> limits = {kHudColourTableSize};
    if (perCall) limits.insert(limits.begin(), 256);
    const std::vector<int> numbers = ParseIndexes(rest.substr(0, dot), limits, text, form);
    probe.kind = perCall ? ProbeKind::drawnColour : ProbeKind::hudColour;
    probe.index = perCall ? numbers[0] : 0;
    probe.entry = numbers.back();
    probe.channel = static_cast<int>(channel);
}

}  // namespace

ProbeName ParseProbeName(std::string_view text) {
    static const std::vector<std::pair<std::string_view, ProbeKind>> plain = {
        {"pedRange", ProbeKind::pedRange},         {"starAlpha", ProbeKind::starAlpha},
        {"drawnFontAlpha", ProbeKind::drawnFontAlpha}, {"starsFlashing", ProbeKind::starsFlashing},
        {"copCarCounter", ProbeKind::copCarCounter},   {"message", ProbeKind::message},
    };
    static const std::vector<std::pair<std::string_view, PedProbeField>> pedFields = {
        {"suppressed", PedProbeField::suppressed},
        {"criminalHasPlayer", PedProbeField::criminalHasPlayer},
        {"inVehicle", PedProbeField::inVehicle},
        {"x", PedProbeField::x},
        {"y", PedProbeField::y},
        {"z", PedProbeField::z},
        {"health", PedProbeField::health},
        {"criminalSlot", PedProbeField::criminalSlot},
        {"pursuitTask", PedProbeField::pursuitTask},
        {"type", PedProbeField::type},
    };
    static const std::vector<std::pair<std::string_view, VehicleProbeField>> vehicleFields = {
        {"lawEnforcer", VehicleProbeField::lawEnforcer}, {"mission", VehicleProbeField::mission},
        {"x", VehicleProbeField::x}, {"y", VehicleProbeField::y},
    };
    auto lookup = [](const auto& table, std::string_view name) {
        auto it = std::find_if(table.begin(), table.end(),
                               [&](const auto& entry) { return entry.first == name; });
        return it == table.end() ? std::nullopt : std::optional(it->second);
    };

    ProbeName probe;
    std::size_t colon = text.find(':');
    std::string_view head = text.substr(0, colon);
    if (colon == std::string_view::npos) {
        if (auto kind = lookup(plain, head)) {
            probe.kind = *kind;
            return probe;
        }
        throw std::invalid_argument(
            "unknown probe " + Quoted(text) +
            " (known: pedRange, starAlpha, drawnFontAlpha, starsFlashing, copCarCounter, "
            "message, scriptCommands:HEX, scriptArg:HEX.N, drawnColour:CALL.ENTRY.CHANNEL, "
            "hudColour:ENTRY.CHANNEL, ped:ID.FIELD, vehicle:ID.FIELD)");
    }
    std::string_view rest = text.substr(colon + 1);
    if (head == "scriptCommands") {
        probe.kind = ProbeKind::scriptCommands;
        probe.scriptCommand = ParseCommandHex(rest, text, "scriptCommands:HEX");
        return probe;
    }
    if (head == "scriptArg") {
        const std::size_t dot = rest.find('.');
        probe.kind = ProbeKind::scriptArg;
        probe.scriptCommand = ParseCommandHex(rest.substr(0, dot), text, "scriptArg:HEX.N");
        if (dot == std::string_view::npos)
            throw std::invalid_argument("expected scriptArg:HEX.N, got " + Quoted(text));
        probe.index = ParseIndexes(rest.substr(dot + 1), {kMaxScriptArgs}, text, "scriptArg:HEX.N").front();
        return probe;
    }
    if (head == "drawnColour" || head == "hudColour") {
        ParseColourProbe(rest, probe, text, head == "drawnColour");
        return probe;
    }
    if (head != "ped" && head != "vehicle") {
        throw std::invalid_argument("unknown probe " + Quoted(text));
    }
    // Split at the last dot so that ids may contain dots themselves.
    std::size_t dot = rest.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        throw std::invalid_argument("expected " + std::string(head) + ":ID.FIELD, got " + Quoted(text));
    }
    probe.id = std::string(rest.substr(0, dot));
    std::string_view field = rest.substr(dot + 1);
    if (head == "ped") {
        auto found = lookup(pedFields, field);
        if (!found) {
            throw std::invalid_argument("unknown ped field " + Quoted(field) +
                                        " (known: suppressed, criminalHasPlayer, inVehicle, x, y, z, health, "
                                        "criminalSlot, pursuitTask, "
                                        "type)");
        }
        probe.kind = ProbeKind::ped;
        probe.pedField = *found;
    } else {
        auto found = lookup(vehicleFields, field);
        if (!found) {
            throw std::invalid_argument("unknown vehicle field " + Quoted(field) +
                                        " (known: lawEnforcer, mission, x, y)");
        }
        probe.kind = ProbeKind::vehicle;
        probe.vehicleField = *found;
    }
    return probe;
}

std::string_view EventKindName(EventKind kind) {
    for (const EventType& type : EventTypes()) {
        if (type.kind == kind) {
            return type.name;
        }
    }
    return "?";
}

Scenario ParseScenario(std::string_view jsonText, std::string_view sourceName) {
    const std::string source(sourceName);
    try {
        Json root;
        try {
            KeyCheck keyCheck;
            Json::sax_parse(jsonText.begin(), jsonText.end(), &keyCheck);
            root = Json::parse(jsonText.begin(), jsonText.end());
        } catch (const nlohmann::json::exception& error) {
            throw ScenarioError(source, "", "invalid JSON: " + LibraryMessage(error));
        }
        return Loader().Load(root, sourceName);
    } catch (const PathError& error) {
        throw ScenarioError(source, error.path, error.problem);
    } catch (const nlohmann::json::exception& error) {
        // Not expected once the readers have checked types, but a bad file must never escape as a crash.
        throw ScenarioError(source, "", LibraryMessage(error));
    }
}

Scenario LoadScenarioFile(const std::filesystem::path& path, std::size_t maxBytes) {
    const std::string tooLarge =
        "larger than the limit of " + std::to_string(maxBytes) + " bytes for a scenario file";
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        throw ScenarioError(path.string(), "", "is a folder, not a scenario file");
    }
    if (std::filesystem::is_regular_file(path, ignored) &&
        std::filesystem::file_size(path, ignored) > maxBytes && !ignored) {
        throw ScenarioError(path.string(), "", tooLarge);
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw ScenarioError(path.string(), "", "cannot open the file");
    }
    // Read in pieces and stop past the limit: a device such as /dev/zero never ends.
    std::string text;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (text.size() > maxBytes) {
            throw ScenarioError(path.string(), "", tooLarge);
        }
    }
    if (in.bad()) {
        throw ScenarioError(path.string(), "", "cannot read the file");
    }
    return ParseScenario(text, path.string());
}

}  // namespace sandbox
