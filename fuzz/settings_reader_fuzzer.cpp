// The plugin's settings reader over any INI text: the Windows profile readers it rests on, then
// ReadSettings itself. Whatever the file holds, every setting must come out finite and inside the
// limits the rest of the plugin relies on, and a profile string must fit its buffer.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/settings.h"
#include "host/win32/private_profile.h"

namespace {

void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "settings fuzzer: %s\n", what);
    std::abort();
}

// One file per fuzzing process, rewritten for every input.
const std::string& IniFile() {
    static const std::string path = "/tmp/vigilor-fuzz-settings-" + std::to_string(getpid()) + ".ini";
    return path;
}

void CheckProfileString(FuzzedDataProvider& in) {
    const std::string section = in.ConsumeRandomLengthString(16);
    const std::string key = in.ConsumeRandomLengthString(16);
    const auto size = in.ConsumeIntegralInRange<unsigned long>(0, 40);
    char buffer[41];
    std::memset(buffer, 'X', sizeof buffer);
    const unsigned long count =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "default", buffer, size, IniFile().c_str());
    if (size == 0) {
        Require(count == 0 && buffer[0] == 'X', "a zero-sized buffer was written");
        return;
    }
    Require(count < size, "count does not fit the buffer");
    Require(buffer[count] == '\0' && std::strlen(buffer) == count, "string not terminated at its count");
    GetPrivateProfileIntA(section.c_str(), key.c_str(), 7, IniFile().c_str());
}

void CheckSettings() {
    const Settings& s = cfg;
    const float floats[] = {
        s.SightRange,         s.VehicleSightRange, s.HeliSightRange, s.CloseRange,       s.CloseRangeCar,
        s.SightAngle,         s.VehicleSightAngle, s.HeliSightAngle, s.AlertRangeBonus,  s.AlertAngleBonus,
        s.RadioRange,         s.SearchRadius,      s.DefendRange,    s.DefendShareRange, s.StandOffDist,
        s.WaypointArriveDist, s.VehicleArriveDist, s.CarUnloadDist,  s.DisguiseRange,    s.TrackError,
        s.VehiclePlayerDist,  s.VehicleSpeed,      s.HeliAltitude,   s.GunshotRange,     s.SilencedRange,
        s.PedRangeMultiplier, s.StarFadeAmount};
    for (const float f : floats) Require(std::isfinite(f), "a setting is not finite");
    Require(s.SearchRadius >= 8.0f, "SearchRadius below 8");
    Require(s.StandOffDist >= 0.0f, "StandOffDist below 0");
    Require(s.AimMinMs >= 1000 && s.AimMaxMs >= s.AimMinMs, "aim times out of order");
    Require(s.LookMaxMs >= s.LookMinMs, "look times out of order");
    Require(s.JogMoveState >= 4 && s.JogMoveState <= 7, "JogMoveState outside 4..7");
    Require(s.PedRangeMultiplier <= 6.0f, "PedRangeMultiplier above 6");
    Require(s.RunnerPercent >= 0 && s.RunnerPercent <= 100, "RunnerPercent outside 0..100");
    Require(s.StarFadeAmount >= 0.0f && s.StarFadeAmount <= 0.9f, "StarFadeAmount outside 0..0.9");
    Require(s.StarFadeSpeedMs >= 0, "StarFadeSpeedMs below 0");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string text = in.ConsumeRandomLengthString(size);
    if (std::FILE* f = std::fopen(IniFile().c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    std::snprintf(iniPath, sizeof iniPath, "%s", IniFile().c_str());
    logPath[0] = '\0';  // no log: the banner line is not what is tested here
    cfg = Settings{};
    ReadSettings();
    CheckSettings();
    CheckProfileString(in);
    return 0;
}
