// The host's script interpreter, fed two ways: commands built by the plugin's own encoder with any
// arguments (handles of live and dead peds and vehicles, far and non-finite coordinates, result
// variables), and raw bytes. Between commands the host runs frames of any length, so the orders
// are carried out: routes walked, cars driven, helicopters flown.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <vector>

#include "host/running_script.h"
#include "host/scripting.h"
#include "main_loop/host_frame.h"
#include "scenario/scenario_loader.h"
#include "scenario/scenario_world.h"
#include "script/script_commands.h"
#include "world/world.h"

namespace {

// Cops on foot, a police car with its crew, a helicopter, buildings and a path node grid.
const sandbox::Scenario& Scene() {
    static const sandbox::Scenario scene = sandbox::ParseScenario(R"({
        "durationMs": 1000, "player": { "pos": [0, 0, 0], "wanted": 2 },
        "world": { "boxes": [ { "min": [10, 10, 0], "max": [30, 25, 10] } ], "pedNodes": { "spacing": 10 },
                   "noGround": [ { "min": [-60, -60], "max": [-40, -40] } ] },
        "peds": [ { "id": "a", "type": 6, "pos": [5, 5, 0], "weapons": [ { "type": 22, "ammo": 30 } ] },
                  { "id": "b", "type": 6, "pos": [-20, 8, 0] },
                  { "id": "d", "type": 6, "pos": [40, 0, 0], "vehicle": "car", "seat": "driver" },
                  { "id": "p", "type": 6, "pos": [40, 0, 0], "vehicle": "car", "seat": 0 },
                  { "id": "h", "type": 6, "pos": [0, -50, 30], "vehicle": "heli", "seat": "driver" } ],
        "vehicles": [ { "id": "car", "model": 596, "pos": [40, 0, 0], "lawEnforcer": true },
                      { "id": "heli", "model": 497, "pos": [0, -50, 30], "lawEnforcer": true } ] })",
                                                                  "fuzz.json");
    return scene;
}

class Feeder {
public:
    Feeder(FuzzedDataProvider& in, sandbox::World& world) : in_(in) {
        for (int i = 0; i < world.Peds().Size(); ++i) {
            if (const auto* p = world.Peds().At(i)) handles_.push_back(world.Peds().HandleOf(p));
        }
        for (int i = 0; i < world.Vehicles().Size(); ++i) {
            if (const auto* v = world.Vehicles().At(i)) handles_.push_back(world.Vehicles().HandleOf(v));
        }
    }

    int Int() {
        switch (in_.ConsumeIntegralInRange(0, 3)) {
            case 0: return handles_[in_.ConsumeIntegralInRange<std::size_t>(0, handles_.size() - 1)];
            case 1: return in_.ConsumeIntegralInRange(-2, 10);
            case 2:
                return in_.PickValueInArray(
                    {std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), -1, 0x7FFF, 0x10000});
            default: return in_.ConsumeIntegral<int>();
        }
    }

    float Float() {
        constexpr float kInf = std::numeric_limits<float>::infinity();
        switch (in_.ConsumeIntegralInRange(0, 3)) {
            case 0: return in_.ConsumeFloatingPointInRange(-200.0f, 200.0f);
            case 1:
                return in_.PickValueInArray({std::numeric_limits<float>::quiet_NaN(), kInf, -kInf, 1e30f,
                                             -1e30f, std::numeric_limits<float>::max(),
                                             std::numeric_limits<float>::denorm_min(), 0.0f, -0.0f});
            case 2: return in_.ConsumeFloatingPointInRange(-1e6f, 1e6f);
            default: return in_.ConsumeFloatingPoint<float>();
        }
    }

    // A command the host knows, now and then any id at all; bit 15 negates it.
    unsigned CommandId() {
        const auto& table = sandbox::ScriptCommandTable();
        if (in_.ConsumeIntegralInRange(0, 9) == 0) return in_.ConsumeIntegral<std::uint16_t>();
        auto it = table.begin();
        std::advance(it, in_.ConsumeIntegralInRange<std::size_t>(0, table.size() - 1));
        return it->first | (in_.ConsumeBool() ? 0x8000u : 0u);
    }

    // Encodes one command as the plugin does and runs it through the plugin's bridge.
    void EncodedCommand() {
        const unsigned id = CommandId();
        const auto known = sandbox::ScriptCommandTable().find(static_cast<std::uint16_t>(id & 0x7FFF));
        int args = known != sandbox::ScriptCommandTable().end() ? known->second.argCount : 3;
        // Now and then one argument too few or too many.
        args += in_.ConsumeIntegralInRange(0, 9) == 0 ? in_.ConsumeIntegralInRange(-1, 1) : 0;
        plugin::scripting::ScriptCode code(static_cast<std::uint16_t>(id));
        for (int n = 0; n < args; ++n) {
            switch (in_.ConsumeIntegralInRange(0, 3)) {
                case 0: code << Int(); break;
                case 1: code << Float(); break;
                case 2: code << &floatResults_[n % std::size(floatResults_)]; break;
                default: code << &intResults_[n % std::size(intResults_)]; break;
            }
        }
        plugin::scripting::detail::RunCommand(script_, code, id);
    }

    // Raw bytes straight into the interpreter.
    void RawCommand() {
        std::vector<std::uint8_t> bytes = in_.ConsumeBytes<std::uint8_t>(in_.ConsumeIntegralInRange(0, 48));
        CRunningScript script{};
        script.Init();
        script.m_pBaseIP = bytes.data();
        script.m_pCurrentIP = bytes.data();
        script.m_pEndIP = bytes.data() + bytes.size();
        script.ProcessOneCommand();
    }

    std::uint32_t FrameMs() {
        return in_.ConsumeBool() ? in_.ConsumeIntegralInRange<std::uint32_t>(0, 100)
                                 : in_.ConsumeIntegralInRange<std::uint32_t>(0, 20000);
    }

private:
    FuzzedDataProvider& in_;
    std::vector<int> handles_;
    CRunningScript script_{};
    float floatResults_[8] = {};
    int intResults_[8] = {};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    sandbox::World world(sandbox::ScenarioWorld(Scene()));
    world.SetClock(in.ConsumeIntegral<std::uint32_t>());
    Feeder feed(in, world);
    sandbox::HostFrame frame(sandbox::ScenarioHostRules(Scene()));
    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        switch (in.ConsumeIntegralInRange(0, 3)) {
            case 0:
            case 1: feed.EncodedCommand(); break;
            case 2: feed.RawCommand(); break;
            default: {
                const std::uint32_t dt = feed.FrameMs();
                world.SetClock(world.Now() + dt);
                frame.Run(world, dt);
            }
        }
    }
    return 0;
}
