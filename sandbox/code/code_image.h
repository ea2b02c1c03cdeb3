#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "pools/fixed_region.h"

namespace sandbox {

using CodeAddress = std::uint32_t;

/// The host's code as bytes at host addresses, mapped read-only at those very addresses, as a host
/// executable is. The sandbox runs it by decoding its call instructions: the main loop's call and
/// the HUD's star-drawing calls reach whatever their bytes point at, so a plugin runs only where
/// its patches put it.
class CodeImage {
public:
    static constexpr CodeAddress kBase = 0x400000;
    static constexpr CodeAddress kEnd = 0x700000;
    static constexpr CodeAddress kMainLoopCall = 0x53E981;
    static constexpr CodeAddress kOtherBuildMainLoopCall = 0x53EA10;
    static constexpr CodeAddress kFrameProcessing = 0x53BF40;
    static constexpr CodeAddress kDrawWanted = 0x58D9A0;
    static constexpr CodeAddress kHeliOrder = 0x6A2390;
    static constexpr CodeAddress kFirstStarCall = 0x58FB00;
    static constexpr CodeAddress kStarCallSpacing = 0x10;
    static constexpr int kMaxStarCalls = 255;

    /// A host member function taking `this` and five floats (the helicopter order).
    using MethodArgs = std::array<float, 5>;
    using Method = std::function<void(void* self, const MethodArgs& args)>;

    /// `build`: which host build the bytes identify as; `starCalls`: relative calls to the star drawing.
    CodeImage(int build, int starCalls);

    /// Host functions that live at an address.
    void Bind(CodeAddress address, std::function<void()> function);
    void BindMethod(CodeAddress address, Method method);
    /// Nothing lives at the address any more: what was bound there is going away.
    void Unbind(CodeAddress address);
    /// Runs the member function at the address; throws std::runtime_error when nothing lives there.
    void CallMethod(CodeAddress address, void* self, const MethodArgs& args) const;
    /// The address at which the host reaches a plugin function (handed out once per function).
    CodeAddress EntryFor(void (*function)());
    /// Runs what lives at the address; throws std::runtime_error when nothing does.
    void Call(CodeAddress address) const;
    /// Decodes the relative call at `site` and runs its destination.
    void ExecuteCall(CodeAddress site) const;

    /// The HUD's star drawing: every call site in turn, or the function itself when there is none.
    void DrawStars() const;

    std::uint8_t* Pointer(CodeAddress address) const;
    CodeAddress MainLoopCallSite() const { return mainLoopCall_; }
    const std::vector<CodeAddress>& StarCallSites() const { return starCalls_; }

private:
    void WriteCall(CodeAddress site, CodeAddress destination);
    void WriteWord(CodeAddress address, std::uint32_t word);

    FixedRegion region_;
    CodeAddress mainLoopCall_;
    std::vector<CodeAddress> starCalls_;
    std::map<CodeAddress, std::function<void()>> functions_;
    std::map<CodeAddress, Method> methods_;
    std::map<void (*)(), CodeAddress> entries_;
    CodeAddress nextEntry_ = 0x00800000;
};

}  // namespace sandbox
