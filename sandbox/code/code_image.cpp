#include "code/code_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "host/game_version.h"

namespace sandbox {

namespace {

constexpr std::uint8_t kNop = 0x90;

std::string Hex(CodeAddress address) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", address);
    return text;
}

}  // namespace

CodeImage::CodeImage(int build, int starCalls) : region_(kBase, kEnd - kBase) {
    std::memset(region_.data(), kNop, region_.size());
    // The bytes by which a plugin tells this build apart; an unknown number matches none of them.
    for (const plugin::BuildSignature& s : plugin::kBuildSignatures) {
        if (static_cast<int>(s.build) == build) WriteWord(s.address, s.word);
    }
    // Builds the plugin supports call the frame processing from the site it hooks; others elsewhere.
    mainLoopCall_ = (build == 1001 || build == 1002) ? kMainLoopCall : kOtherBuildMainLoopCall;
    WriteCall(mainLoopCall_, kFrameProcessing);
    const int count = std::clamp(starCalls, 0, kMaxStarCalls);
    for (int i = 0; i < count; ++i) {
        const CodeAddress site = kFirstStarCall + static_cast<CodeAddress>(i) * kStarCallSpacing;
        WriteCall(site, kDrawWanted);
        starCalls_.push_back(site);
    }
    region_.MakeReadOnly();
}

void CodeImage::WriteWord(CodeAddress address, std::uint32_t word) {
    std::memcpy(Pointer(address), &word, sizeof word);
}

void CodeImage::WriteCall(CodeAddress site, CodeAddress destination) {
    std::uint8_t* p = Pointer(site);
    p[0] = 0xE8;
    const auto displacement = static_cast<std::int32_t>(destination - (site + 5));
    std::memcpy(p + 1, &displacement, sizeof displacement);
}

std::uint8_t* CodeImage::Pointer(CodeAddress address) const {
    if (address < kBase || address >= kEnd) {
        throw std::runtime_error("host code access outside the image at " + Hex(address));
    }
    return region_.data() + (address - kBase);
}

void CodeImage::Bind(CodeAddress address, std::function<void()> function) {
    functions_[address] = std::move(function);
}

CodeAddress CodeImage::EntryFor(void (*function)()) {
    auto [it, added] = entries_.try_emplace(function, nextEntry_);
    if (added) {
        functions_[nextEntry_] = function;
        nextEntry_ += 0x10;
    }
    return it->second;
}

void CodeImage::BindMethod(CodeAddress address, Method method) { methods_[address] = std::move(method); }

void CodeImage::Unbind(CodeAddress address) {
    functions_.erase(address);
    methods_.erase(address);
}

void CodeImage::CallMethod(CodeAddress address, void* self, const MethodArgs& args) const {
    auto it = methods_.find(address);
    if (it == methods_.end())
        throw std::runtime_error("host called method " + Hex(address) + ", where nothing lives");
    it->second(self, args);
}

void CodeImage::Call(CodeAddress address) const {
    auto it = functions_.find(address);
    if (it == functions_.end())
        throw std::runtime_error("host called " + Hex(address) + ", where nothing lives");
    it->second();
}

void CodeImage::ExecuteCall(CodeAddress site) const {
    const std::uint8_t* p = Pointer(site);
    if (p[0] != 0xE8) throw std::runtime_error("no call instruction at " + Hex(site));
    std::int32_t displacement = 0;
    std::memcpy(&displacement, p + 1, sizeof displacement);
    Call(site + 5 + static_cast<CodeAddress>(displacement));
}

void CodeImage::DrawStars() const {
    // Without a direct call in the image the HUD still draws its stars, through a pointer that a
    // scan for call instructions cannot see.
    if (starCalls_.empty()) {
        Call(kDrawWanted);
        return;
    }
    for (CodeAddress site : starCalls_) ExecuteCall(site);
}

}  // namespace sandbox
