#include "replay_data.h"

#include <algorithm>

#include "replay/replay_recorder.h"
#include "scenario/scenario_loader.h"

namespace replay_test {

int ReplayData::Index(const char* track, const std::string& id) const {
    const auto& entities = json[track]["entities"];
    for (std::size_t i = 0; i < entities.size(); ++i) {
        if (entities[i]["id"] == id) return static_cast<int>(i);
    }
    return -1;
}

nlohmann::json ReplayData::Value(const char* track, int entity, const std::string& field, int sample) const {
    const auto& t = json[track];
    const auto& fields = t["fields"];
    const auto f = std::find(fields.begin(), fields.end(), field) - fields.begin();
    nlohmann::json value = nullptr;
    for (const auto& change : t["changes"]) {
        if (change[0] > sample) break;
        if (change[1] == entity && change[2] == f) value = change[3];
    }
    return value;
}

std::vector<std::vector<std::pair<int, nlohmann::json>>> ReplayData::Series(const char* track,
                                                                            const std::string& field) const {
    const auto& t = json[track];
    const auto& fields = t["fields"];
    const auto f = std::find(fields.begin(), fields.end(), field) - fields.begin();
    std::vector<std::vector<std::pair<int, nlohmann::json>>> out;
    for (const auto& change : t["changes"]) {
        if (change[2] != f) continue;
        const auto entity = change[1].get<std::size_t>();
        if (entity >= out.size()) out.resize(entity + 1);
        out[entity].emplace_back(change[0].get<int>(), change[3]);
    }
    return out;
}

std::vector<int> ReplayData::Present(const char* track, int sample) const {
    std::vector<int> present;
    for (const auto& roster : json[track]["rosters"]) {
        if (roster[0] > sample) break;
        present = roster[1].get<std::vector<int>>();
    }
    return present;
}

std::pair<double, double> ReplayData::Position(const char* track, int entity, int sample) const {
    const auto& motion = json[track]["motion"];
    long x = 0;
    long y = 0;
    std::size_t row = 0;
    for (int s = 0; s <= sample; ++s) {
        for (int k : Present(track, s)) {
            if (k == entity) {
                x += motion[row * 3].get<long>();
                y += motion[row * 3 + 1].get<long>();
            }
            ++row;
        }
    }
    return {x / 100.0, y / 100.0};
}

Recorded::Recorded(const std::string& json) {
    sandbox::ReplayRecorder recorder(sandbox::ParseScenario(json, "rec.json"), std::nullopt);
    run = testing_support::RunJson(json, [&](sandbox::RunOptions& options) { recorder.Attach(options); });
    data = std::make_unique<ReplayData>(recorder.DataText());
}

}  // namespace replay_test
