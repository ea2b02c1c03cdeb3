// The module loaded by the platform's loader, hooked into the host, and unloaded again: the host's
// code must be as it was, and the host must run on without reaching into the freed module.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "code/code_image.h"
#include "host/call_hook.h"
#include "support/module_session.h"

namespace {

using plugin::CodeAddress;
using sandbox::CodeImage;

constexpr const char* kWantedScenario = R"({
    "durationMs": 10000,
    "player": { "pos": [0, 0, 0], "wanted": 2 },
    "world": { "starCallSites": 3 }
})";

std::vector<std::uint8_t> CodeBytes(sandbox::World& world) {
    const std::uint8_t* first = world.Code().Pointer(CodeImage::kBase);
    return {first, first + (CodeImage::kEnd - CodeImage::kBase)};
}

TEST(ModuleUnload, EveryPatchedByteIsBackAndTheHostRunsOnWithoutTheModule) {
    testing_support::ModuleSession session("", kWantedScenario);
    sandbox::World& world = session.World();
    // Loading has hooked the main loop already; everything else is still the host's own.
    const CodeAddress mainLoop = CodeImage::kMainLoopCall;
    EXPECT_NE(plugin::ReadRelativeCall(mainLoop), CodeImage::kFrameProcessing);
    const std::vector<std::uint8_t> loaded = CodeBytes(world);

    // Long enough for the stars to fade, so the redirected HUD drawing has run the module's code.
    session.Frames(120);
    for (const CodeAddress site : world.Code().StarCallSites()) {
        EXPECT_NE(plugin::ReadRelativeCall(site), CodeImage::kDrawWanted) << std::hex << site;
    }
    EXPECT_LT(world.Hud().DrawnStarAlpha(), 0.999f);

    session.Unload();
    EXPECT_EQ(plugin::ReadRelativeCall(mainLoop), CodeImage::kFrameProcessing);
    std::vector<std::uint8_t> after = CodeBytes(world);
    std::copy_n(loaded.begin() + (mainLoop - CodeImage::kBase), 5,
                after.begin() + (mainLoop - CodeImage::kBase));
    const auto differ = std::mismatch(after.begin(), after.end(), loaded.begin());
    EXPECT_TRUE(differ.first == after.end())
        << "host code differs at 0x" << std::hex << CodeImage::kBase + (differ.first - after.begin());

    // The host's own frame and HUD, straight to its own functions.
    const int drawsBefore = world.Hud().drawCount;
    session.Frames(10);
    EXPECT_EQ(world.Hud().drawCount,
              drawsBefore + 10 * static_cast<int>(world.Code().StarCallSites().size()));
    EXPECT_GE(world.Hud().DrawnStarAlpha(), 0.999f);
}

}  // namespace
