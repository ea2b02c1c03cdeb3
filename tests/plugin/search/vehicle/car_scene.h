#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "plugin/awareness/awareness_scenario.h"

namespace car_test {

/// A police car `id` at (x, y) facing `heading`, its driver `id`-driver and optional extra seats.
struct Car {
    std::string id;
    float x;
    float y;
    float heading = 180.0f;  // away from a player at the origin when the car is south of him
    int model = 596;
    bool lawEnforcer = true;
};

inline std::string Fragment(const std::vector<Car>& cars, const std::string& morePeds = "") {
    std::string peds;
    std::string vehicles;
    for (const Car& c : cars) {
        char ped[200];
        char veh[220];
        std::snprintf(
            ped, sizeof ped,
            R"({ "id": "%s-driver", "type": 6, "pos": [%g, %g, 0], "vehicle": "%s", "seat": "driver" })",
            c.id.c_str(), static_cast<double>(c.x), static_cast<double>(c.y), c.id.c_str());
        std::snprintf(veh, sizeof veh,
                      R"({ "id": "%s", "model": %d, "pos": [%g, %g, 0], "heading": %g, "lawEnforcer": %s })",
                      c.id.c_str(), c.model, static_cast<double>(c.x), static_cast<double>(c.y),
                      static_cast<double>(c.heading), c.lawEnforcer ? "true" : "false");
        peds += (peds.empty() ? "" : ", ") + std::string(ped);
        vehicles += (vehicles.empty() ? "" : ", ") + std::string(veh);
    }
    if (!morePeds.empty()) peds += ", " + morePeds;
    return R"("peds": [ )" + peds + R"( ], "vehicles": [ )" + vehicles + " ]";
}

/// A hand-stepped session: the drivers are stamped at 150 ms and lose the player at 3300 ms.
class Session : public awareness_test::Session {
public:
    explicit Session(const std::vector<Car>& cars, const std::string& settings = "",
                     const std::string& morePeds = "")
        : awareness_test::Session(Fragment(cars, morePeds), settings) {}
    sandbox::Vehicle& Car(const std::string& id) { return *World().FindVehicle(id); }
    /// Runs on to the given host time (a multiple of 50 ms).
    void RunTo(std::uint32_t ms) { RunFor(ms - World().Now()); }
    int Orders() { return World().Journal().Count(0x05D1); }
    /// The first "car stopped" line's four conditions and distances, or empty.
    std::string StopLine() const {
        std::istringstream lines(Log());
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("car stopped:", 0) == 0) return line;
        }
        return {};
    }
    float StopTargetDist() const {
        const std::string line = StopLine();
        const auto at = line.find("targetDist=");
        return at == std::string::npos ? -1.0f : std::stof(line.substr(at + 11));
    }
};

}  // namespace car_test
