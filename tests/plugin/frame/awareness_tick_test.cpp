// The order of the awareness tick's passes, seen from outside.

#include <gtest/gtest.h>

#include "plugin/awareness/awareness_scenario.h"

namespace {

using awareness_test::Cop;
using awareness_test::Session;

TEST(AwarenessTickTest, EveryListedCopIsStampedBeforeTheRadioSpeaks) {
    // Two cops new to the pursuit hear of the player by radio on the first tick. Stamped by the
    // radio first, they would keep the "not drawn yet" style and search with it.
    Session s(R"("peds": [ )" + Cop("spotter", 0, -20) + ", " + Cop("left", -10, -20, 0, 180) + ", " +
                  Cop("right", 10, -20, 0, 180) + " ]",
              "RunnerPercent=0\n");
    s.RunFor(150);
    ASSERT_EQ(s.Count("cops: total=3 seeing=1 lost=0 sceneShared=1"), 1);
    s.Ped("spotter").m_fHeading = 3.14159f;  // from now on nobody sees: all three search
    s.RunFor(4500);
    EXPECT_EQ(s.Count("cop lost the player: ped=*"), 3);
    ASSERT_GE(s.Count("sweeping: ped=*"), 3);
    EXPECT_EQ(s.Count("* style=-1 *"), 0);
    EXPECT_EQ(s.Count("sweeping: ped=* style=0 *"), s.Count("sweeping: ped=*"));
}

}  // namespace
