// A worker's host code range, reserved for it by its sweep before it ran: each world commits its
// pages there and gives them back without letting the range go, so the next run finds it held still.

#include <gtest/gtest.h>

#include <stdexcept>

#include "code/code_image.h"
#include "host/win32/windows.h"
#include "pools/fixed_region.h"

namespace {

using sandbox::CodeImage;
using sandbox::FixedRegion;

constexpr std::size_t kSize = CodeImage::kEnd - CodeImage::kBase;
void* const kBase = reinterpret_cast<void*>(static_cast<std::uintptr_t>(CodeImage::kBase));

DWORD StateAt(void* address) {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(address, &info, sizeof info);
    return info.State;
}

TEST(HeldRangeTest, OnlyAWholeUnusedReservationIsTaken) {
    // Nothing reserved there yet; then a reservation that starts below the range; then one in use.
    EXPECT_THROW(sandbox::HoldReservedRange(CodeImage::kBase, kSize), std::runtime_error);
    void* wider = VirtualAlloc(kBase, kSize, MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_EQ(wider, kBase);
    EXPECT_THROW(sandbox::HoldReservedRange(CodeImage::kBase + 0x10000, kSize - 0x10000), std::runtime_error);
    ASSERT_NE(VirtualAlloc(kBase, 0x1000, MEM_COMMIT, PAGE_READWRITE), nullptr);
    EXPECT_THROW(sandbox::HoldReservedRange(CodeImage::kBase, kSize), std::runtime_error);
    VirtualFree(kBase, 0, MEM_RELEASE);
}

TEST(HeldRangeTest, RegionsCommitInTheHeldRangeAndLeaveItHeld) {
    ASSERT_EQ(VirtualAlloc(kBase, kSize, MEM_RESERVE, PAGE_NOACCESS), kBase);
    sandbox::HoldReservedRange(CodeImage::kBase, kSize);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        {
            FixedRegion region(CodeImage::kBase, kSize);
            ASSERT_EQ(region.data(), kBase);
            EXPECT_EQ(region.data()[kSize - 1], 0) << "a run starts from fresh pages";
            region.data()[kSize - 1] = 7;
            // A second world while one lives finds the range in use, as it would anywhere else.
            EXPECT_THROW(FixedRegion(CodeImage::kBase, kSize), std::runtime_error);
        }
        EXPECT_EQ(StateAt(kBase), static_cast<DWORD>(MEM_RESERVE));
    }
    // Whole worlds live there too, one after another.
    for (int run = 0; run < 2; ++run) CodeImage image(0, 1);
    EXPECT_EQ(StateAt(kBase), static_cast<DWORD>(MEM_RESERVE));
}

}  // namespace
