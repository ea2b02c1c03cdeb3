// The settings as the module reads them from its INI file: defaults, clamps, bad values.

#include <gtest/gtest.h>

#include "support/module_session.h"

namespace {

using testing_support::ModuleSession;

const Settings& Read(ModuleSession& session) {
    session.Frame();
    return session.Cfg();
}

TEST(SettingsTest, MissingFileKeepsEveryDefault) {
    ModuleSession session("");
    const Settings& cfg = Read(session);
    const Settings defaults;
    EXPECT_EQ(cfg.SightRange, defaults.SightRange);
    EXPECT_EQ(cfg.PursuitGraceMs, 3000);
    EXPECT_EQ(cfg.AimMinMs, 10000);
    EXPECT_EQ(cfg.AimMaxMs, 30000);
    EXPECT_FLOAT_EQ(cfg.StarFadeAmount, 0.6f);
    EXPECT_EQ(cfg.Log, 1);
}

TEST(SettingsTest, AimWaitIsAtLeastOneSecondAndOrdered) {
    {
        ModuleSession low("[Settings]\nAimMinMs=500\n");
        EXPECT_EQ(Read(low).AimMinMs, 1000);
        EXPECT_EQ(low.Cfg().AimMaxMs, 30000);
    }
    ModuleSession high("[Settings]\nAimMinMs=40000\n");
    EXPECT_EQ(Read(high).AimMinMs, 40000);
    EXPECT_EQ(high.Cfg().AimMaxMs, 40000);
}

TEST(SettingsTest, ClampsHoldWhateverTheFileSays) {
    {
        ModuleSession over(
            "[Settings]\nStarFadeAmount=1.5\nJogMoveState=9\nRunnerPercent=250\nPedRangeMultiplier=10\n"
            "SearchRadius=2\nStandOffDist=-5\nStarFadeSpeedMs=-3\nLookMinMs=3000\nLookMaxMs=100\n");
        const Settings& a = Read(over);
        EXPECT_FLOAT_EQ(a.StarFadeAmount, 0.9f);
        EXPECT_EQ(a.JogMoveState, 7);
        EXPECT_EQ(a.RunnerPercent, 100);
        EXPECT_FLOAT_EQ(a.PedRangeMultiplier, 6.0f);
        EXPECT_FLOAT_EQ(a.SearchRadius, 8.0f);
        EXPECT_FLOAT_EQ(a.StandOffDist, 0.0f);
        EXPECT_EQ(a.StarFadeSpeedMs, 0);
        EXPECT_EQ(a.LookMaxMs, 3000);
    }

    ModuleSession under("[Settings]\nStarFadeAmount=-1\nJogMoveState=0\nRunnerPercent=-4\n");
    const Settings& b = Read(under);
    EXPECT_FLOAT_EQ(b.StarFadeAmount, 0.0f);
    EXPECT_EQ(b.JogMoveState, 4);
    EXPECT_EQ(b.RunnerPercent, 0);
}

TEST(SettingsTest, NonFiniteFloatsTakeTheirClampOrElseTheirDefault) {
    {
        ModuleSession session(
            "[Settings]\nSightRange=nan\nRadioRange=inf\nHeliAltitude=-infinity\nTrackError=1e40\n"
            "PedRangeMultiplier=1e39\nStarFadeAmount=inf\nSearchRadius=-1e39\nStandOffDist=-inf\n");
        const Settings& cfg = Read(session);
        EXPECT_FLOAT_EQ(cfg.SightRange, 45.0f);
        EXPECT_FLOAT_EQ(cfg.RadioRange, 25.0f);
        EXPECT_FLOAT_EQ(cfg.HeliAltitude, 30.0f);
        EXPECT_FLOAT_EQ(cfg.TrackError, 25.0f);  // overflows a float: as good as infinite
        // A clamp that bounds the value wins over the default.
        EXPECT_FLOAT_EQ(cfg.PedRangeMultiplier, 6.0f);
        EXPECT_FLOAT_EQ(cfg.StarFadeAmount, 0.9f);
        EXPECT_FLOAT_EQ(cfg.SearchRadius, 8.0f);
        EXPECT_FLOAT_EQ(cfg.StandOffDist, 0.0f);
    }

    // Not a number passes every clamp, so it falls back even on a clamped key.
    ModuleSession nan("[Settings]\nPedRangeMultiplier=nan\nStarFadeAmount=nan\nStandOffDist=inf\n");
    EXPECT_FLOAT_EQ(Read(nan).PedRangeMultiplier, 3.0f);
    EXPECT_FLOAT_EQ(nan.Cfg().StarFadeAmount, 0.6f);
    EXPECT_FLOAT_EQ(nan.Cfg().StandOffDist, 30.0f);  // no upper bound to take
}

TEST(SettingsTest, FloatTextIsReadAsItsLeadingNumber) {
    ModuleSession session(
        "[Settings]\nSightRange=60m\nRadioRange=\nCloseRange=abc\nHeliSightRange=  12.5  \n");
    const Settings& cfg = Read(session);
    EXPECT_FLOAT_EQ(cfg.SightRange, 60.0f);
    EXPECT_FLOAT_EQ(cfg.RadioRange, 0.0f);
    EXPECT_FLOAT_EQ(cfg.CloseRange, 0.0f);
    EXPECT_FLOAT_EQ(cfg.HeliSightRange, 12.5f);
}

TEST(SettingsTest, KeysAreFoundWithoutRegardToCaseInTheFirstSectionOnly) {
    ModuleSession session("[settings]\nsightrange=50\n[Settings]\nRadioRange=99\n");
    const Settings& cfg = Read(session);
    EXPECT_FLOAT_EQ(cfg.SightRange, 50.0f);
    EXPECT_FLOAT_EQ(cfg.RadioRange, 25.0f);
}

TEST(SettingsTest, BannerShowsTheSwitchesAsRead) {
    ModuleSession session("[Settings]\nCutPursuit=0\nHeliSearch=7\n");
    session.Frame();
    EXPECT_EQ(session.Log().substr(0, session.Log().find('\n')),
              "Vigilor v8 loaded | cutPursuit=0 footSearch=1 pathfinding=1 vehicleSearch=1 heliSearch=7");
}

}  // namespace
