#include "replay/log_state.h"

#include <cstdio>

namespace sandbox {

namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

std::string PointerIn(const std::string& line, const std::string& key) {
    const auto at = line.find(key);
    if (at == std::string::npos) return {};
    const auto from = at + key.size();
    const auto end = line.find_first_of(" ,", from);
    return line.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

std::string PedPointerIn(const std::string& line) { return PointerIn(line, "ped="); }

void LogState::Read(const std::string& line, Vec3 player, std::uint32_t runMs) {
    if (StartsWith(line, "wanted level started")) {
        episode = true;
        sceneValid = true;
        scene = player;
        sceneMs = runMs;
        // The plugin writes a summary only when its counts differ from the last one it wrote, so a
        // new episode that counts the same as that line stands on it.
        seeing = logged_.seeing;
        lost = logged_.lost;
        sceneShared = logged_.sceneShared;
    } else if (line == "wanted level ended" || line == "reset: flags restored" || line == "F10: enabled=0") {
        // The summary is not written again until a cop is counted, so its counts end here.
        episode = false;
        sceneValid = false;
        seeing = 0;
        lost = 0;
        sceneShared = false;
        lost_.clear();
        parked_.clear();
    } else if (StartsWith(line, "car stopped:")) {
        parked_.insert(PointerIn(line, "veh="));
    } else if (StartsWith(line, "cop lost the player:")) {
        lost_[PedPointerIn(line)] = Loss::grace;
    } else if (StartsWith(line, "cop forced to stay lost")) {
        lost_[PedPointerIn(line)] = Loss::parkedCar;
    } else if (StartsWith(line, "cop is chasing again:")) {
        lost_[PedPointerIn(line)] = Loss::none;
    } else if (StartsWith(line, "cops: ")) {
        int total = 0;
        int shared = 0;
        if (std::sscanf(line.c_str(), "cops: total=%d seeing=%d lost=%d sceneShared=%d", &total, &seeing,
                        &lost, &shared) == 4) {
            sceneShared = shared != 0;
            logged_ = {seeing, lost, sceneShared};
        }
    } else if (StartsWith(line, "gunshot heard:")) {
        const auto at = line.find("scene moved to ");
        float x = 0.0f;
        float y = 0.0f;
        if (at != std::string::npos && std::sscanf(line.c_str() + at, "scene moved to %f,%f", &x, &y) == 2) {
            scene = {x, y, player.z};
            sceneValid = true;
            sceneMs = runMs;
        }
    }
}

void LogState::FollowPlayer(Vec3 player, std::uint32_t runMs) {
    if (sceneValid && seeing > 0 && sceneShared) {
        scene = player;
        sceneMs = runMs;
    }
}

bool LogState::Parked(const std::string& vehiclePointer) const { return parked_.contains(vehiclePointer); }

LogState::Loss LogState::LostBy(const PointerKey& pedPointer) const {
    if (lost_.empty()) return Loss::none;  // asked for every cop in every sample: spare the hashing
    auto it = lost_.find(pedPointer);
    return it == lost_.end() ? Loss::none : it->second;
}

}  // namespace sandbox
