// The simulated host executable: which build its bytes identify as, and where its calls are.

#include <gtest/gtest.h>

#include "code/code_image.h"
#include "host/call_hook.h"
#include "host/game_version.h"
#include "support/host_world.h"

namespace {

using sandbox::CodeImage;
using testing_support::MakeWorld;

TEST(CodeImage, EachBuildIsRecognisedAndOnlyTheSupportedOnesCallTheHookedSite) {
    for (unsigned int build : {1001u, 1002u, 1011u, 1101u, 1111u, 3200u, 3210u}) {
        SCOPED_TRACE(build);
        auto world = MakeWorld(static_cast<int>(build));
        EXPECT_EQ(plugin::detect_game_id(), build);
        const bool supported = build == 1001 || build == 1002;
        EXPECT_EQ(plugin::ReadRelativeCall(CodeImage::kMainLoopCall) != 0, supported);
        // The frame processing is reached from the main loop either way.
        EXPECT_EQ(plugin::ReadRelativeCall(world->Code().MainLoopCallSite()), CodeImage::kFrameProcessing);
    }
}

TEST(CodeImage, AnUnknownBuildNumberGivesAnImageNoTestRecognises) {
    for (int build : {0, 1000, 1003, 4242, -1}) {
        SCOPED_TRACE(build);
        auto world = MakeWorld(build);
        EXPECT_EQ(plugin::detect_game_id(), 0u);
        EXPECT_EQ(plugin::ReadRelativeCall(CodeImage::kMainLoopCall), 0u);
    }
}

TEST(CodeImage, StarCallSitesLieInTheHudRangeAndCallTheStarDrawing) {
    for (int count : {0, 2, 255}) {
        SCOPED_TRACE(count);
        auto world = MakeWorld(1001, count);
        int found = 0;
        for (plugin::CodeAddress a = 0x58D000; a <= 0x590FFF; ++a) {
            found += plugin::ReadRelativeCall(a) == CodeImage::kDrawWanted ? 1 : 0;
        }
        EXPECT_EQ(found, count);
    }
}

TEST(CodeImage, WithoutCallSitesTheHudStillDrawsTheStars) {
    auto world = MakeWorld(1001, 0);
    world->Code().DrawStars();
    EXPECT_EQ(world->Hud().drawCount, 1);
}

}  // namespace
