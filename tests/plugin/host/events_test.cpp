// The per-frame event: its lists, its duplicate rules, and the call-site hooks under it.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "code/code_image.h"
#include "host/call_hook.h"
#include "host/events.h"
#include "host/patch.h"
#include "support/host_world.h"

namespace {

using sandbox::CodeImage;

std::vector<std::string> trace;

void A1() { trace.push_back("a1"); }
void A2() { trace.push_back("a2"); }
void B1() { trace.push_back("b1"); }
void B2() { trace.push_back("b2"); }
void Redirected() { trace.push_back("redirected"); }
void Other() { trace.push_back("other"); }

std::array<std::uint8_t, 5> BytesAt(plugin::CodeAddress site) {
    std::array<std::uint8_t, 5> bytes{};
    std::memcpy(bytes.data(), plugin::CodePointer(site), bytes.size());
    return bytes;
}

// A world whose frame processing only leaves a mark, with one main-loop frame at a time.
class EventTest : public ::testing::Test {
protected:
    void SetUp() override {
        trace.clear();
        world_ = testing_support::MakeWorld(1001);
        world_->Code().Bind(CodeImage::kFrameProcessing, [] { trace.push_back("host"); });
    }
    std::vector<std::string> Frame() {
        trace.clear();
        world_->Code().ExecuteCall(CodeImage::kMainLoopCall);
        return trace;
    }
    plugin::BaseEvent* MakeEvent() {
        events_.push_back(std::make_unique<plugin::BaseEvent>(std::vector<plugin::CallSite>{
            {CodeImage::kMainLoopCall, 1001}, {CodeImage::kMainLoopCall, 1002}}));
        return events_.back().get();
    }

    std::unique_ptr<sandbox::World> world_;
    // Destroyed before the world, as the module's statics are at unload.
    std::vector<std::unique_ptr<plugin::BaseEvent>> events_;

    void TearDown() override { events_.clear(); }
};

using Lines = std::vector<std::string>;

TEST_F(EventTest, RunsTheBeforeListTheHostCallAndTheAfterListInOrder) {
    plugin::BaseEvent& event = *MakeEvent();
    event.AddAfter(&A2);
    event.AddBefore(&A1);
    event.AddAfter(&B2);
    event.AddBefore(&B1);
    EXPECT_EQ(Frame(), (Lines{"a1", "b1", "host", "a2", "b2"}));
}

TEST_F(EventTest, AddKeepsOneEntryPerIdAndOneAnonymousEntryPerFunction) {
    plugin::BaseEvent& event = *MakeEvent();
    event.AddAfter(&A1);
    event.AddAfter(&A1);  // same plain function, anonymous: ignored
    event.AddAfter(&A2, 7);
    event.AddAfter(&B1, 7);  // id taken: ignored
    event.AddAfter(&A2);     // anonymous, but A2 is listed (under id 7): ignored
    event.AddAfter(&A1, 9);  // a new id adds A1 once more
    event.AddBefore(&A1);    // the before list is a list of its own
    EXPECT_EQ(Frame(), (Lines{"a1", "host", "a1", "a2", "a1"}));
}

TEST_F(EventTest, TheFirstAddHooksOnceAndTheSiteIsRestoredAtDestruction) {
    const auto original = BytesAt(CodeImage::kMainLoopCall);
    plugin::BaseEvent& event = *MakeEvent();
    EXPECT_EQ(BytesAt(CodeImage::kMainLoopCall), original);  // nothing is patched before an Add
    event.AddAfter(&A1);
    const auto hooked = BytesAt(CodeImage::kMainLoopCall);
    EXPECT_NE(hooked, original);
    event.AddAfter(&A2);
    EXPECT_EQ(BytesAt(CodeImage::kMainLoopCall), hooked);
    EXPECT_EQ(Frame(), (Lines{"host", "a1", "a2"}));
    events_.clear();
    EXPECT_EQ(BytesAt(CodeImage::kMainLoopCall), original);
    EXPECT_EQ(Frame(), (Lines{"host"}));
}

TEST_F(EventTest, ASecondHookOnTheSiteCallsTheFirst) {
    const auto original = BytesAt(CodeImage::kMainLoopCall);
    plugin::BaseEvent& first = *MakeEvent();
    first.AddBefore(&A1);
    first.AddAfter(&A2);
    plugin::BaseEvent& second = *MakeEvent();
    second.AddBefore(&B1);
    second.AddAfter(&B2);
    EXPECT_EQ(Frame(), (Lines{"b1", "a1", "host", "a2", "b2"}));
    events_.pop_back();
    EXPECT_EQ(Frame(), (Lines{"a1", "host", "a2"}));
    events_.clear();
    EXPECT_EQ(BytesAt(CodeImage::kMainLoopCall), original);
}

TEST_F(EventTest, UnhookingTheFirstOfTwoKeepsTheSecondAndStillRestoresTheSite) {
    const auto original = BytesAt(CodeImage::kMainLoopCall);
    MakeEvent()->AddAfter(&A1);
    MakeEvent()->AddAfter(&B1);
    const auto unhookOutOfOrder = [&] {
        events_.erase(events_.begin());
        const bool secondKept = Frame() == Lines{"host", "b1"};
        events_.clear();
        const bool restored = BytesAt(CodeImage::kMainLoopCall) == original && Frame() == Lines{"host"};
        return secondKept && restored;
    };
#ifdef _WIN32
    // Under Wine the death test's child (a fresh start of this program) fails where the same steps
    // pass here; until that is understood they run in this process.
    EXPECT_TRUE(unhookOutOfOrder());
#else
    // A wrong unhook leaves the site calling into a hook that is gone: run it in a child process, so
    // that such a fault fails this test instead of ending the whole test binary.
    EXPECT_EXIT(std::_Exit(unhookOutOfOrder() ? 0 : 1), ::testing::ExitedWithCode(0), "");
#endif
}

TEST_F(EventTest, SitesOfOtherBuildsAreNotHooked) {
    const auto original = BytesAt(CodeImage::kMainLoopCall);
    events_.push_back(
        std::make_unique<plugin::BaseEvent>(std::vector<plugin::CallSite>{{CodeImage::kMainLoopCall, 1002}}));
    events_.back()->AddAfter(&A1);
    EXPECT_EQ(BytesAt(CodeImage::kMainLoopCall), original);
    EXPECT_EQ(Frame(), (Lines{"host"}));
}

TEST_F(EventTest, RedirectCallMakesACallSiteCallOurFunction) {
    const plugin::CodeAddress site = world_->Code().StarCallSites().front();
    plugin::patch::RedirectCall(site, &Redirected);
    world_->Code().ExecuteCall(site);
    EXPECT_EQ(trace, (Lines{"redirected"}));
    EXPECT_EQ(world_->Hud().drawCount, 0);
}

TEST_F(EventTest, RecordedRedirectsAreWrittenBackUnlessSomebodyPatchedTheSiteSince) {
    const auto& sites = world_->Code().StarCallSites();
    const auto original = BytesAt(sites[0]);
    {
        plugin::patch::CallRedirects redirects;
        redirects.Redirect(sites[0], &Redirected);
        redirects.Redirect(sites[0], &Redirected);  // twice: still back to the host's own bytes
        redirects.Redirect(sites[1], &Redirected);
        plugin::patch::RedirectCall(sites[1], &Other);  // another patcher's, later
        world_->Code().DrawStars();
        EXPECT_EQ(trace, (Lines{"redirected", "other"}));
    }
    EXPECT_EQ(BytesAt(sites[0]), original);
    EXPECT_EQ(plugin::ReadRelativeCall(sites[1]), plugin::CodeAddressOf(&Other));
}

}  // namespace
