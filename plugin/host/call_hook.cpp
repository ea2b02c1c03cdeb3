#include "host/call_hook.h"

#include <array>
#include <cstring>

#include "host/events.h"
#include "host/win32/windows.h"

namespace plugin {

namespace {

constexpr std::uint8_t kCallOpcode = 0xE8;
constexpr int kCallSize = 5;

struct Hook {
    bool used = false;
    CodeAddress site = 0;
    std::uint8_t savedBytes[kCallSize] = {};
    CodeAddress original = 0;
    const BaseEvent* event = nullptr;
};

constexpr int kMaxHooks = 8;
std::array<Hook, kMaxHooks> hooks;

// The host calls a plain function; one thunk per slot tells the hooks apart.
template <int N>
void HookThunk() {
    const Hook& hook = hooks[N];
    hook.event->RunBefore();
    CallCode(hook.original);
    hook.event->RunAfter();
}

template <int... N>
constexpr std::array<void (*)(), sizeof...(N)> MakeThunks(std::integer_sequence<int, N...>) {
    return {&HookThunk<N>...};
}
constexpr auto thunks = MakeThunks(std::make_integer_sequence<int, kMaxHooks>{});

void WriteBytes(CodeAddress address, const std::uint8_t* bytes, int count) {
    unsigned long old = 0;
    std::uint8_t* target = CodePointer(address);
    VirtualProtect(target, static_cast<std::size_t>(count), PAGE_EXECUTE_READWRITE, &old);
    std::memcpy(target, bytes, static_cast<std::size_t>(count));
    VirtualProtect(target, static_cast<std::size_t>(count), old, &old);
}

}  // namespace

CodeAddress ReadRelativeCall(CodeAddress site) {
    const std::uint8_t* bytes = CodePointer(site);
    if (bytes[0] != kCallOpcode) return 0;
    std::int32_t displacement = 0;
    std::memcpy(&displacement, bytes + 1, sizeof displacement);
    return site + kCallSize + static_cast<CodeAddress>(displacement);
}

CodeAddress WriteRelativeCall(CodeAddress site, CodeAddress destination) {
    const CodeAddress replaced = ReadRelativeCall(site);
    std::uint8_t bytes[kCallSize] = {kCallOpcode};
    const auto displacement = static_cast<std::int32_t>(destination - (site + kCallSize));
    std::memcpy(bytes + 1, &displacement, sizeof displacement);
    WriteBytes(site, bytes, kCallSize);
    return replaced;
}

int InstallCallHook(CodeAddress site, const BaseEvent* event) {
    if (ReadRelativeCall(site) == 0) return -1;
    for (int slot = 0; slot < kMaxHooks; ++slot) {
        Hook& hook = hooks[static_cast<std::size_t>(slot)];
        if (hook.used) continue;
        hook.used = true;
        hook.site = site;
        hook.event = event;
        std::memcpy(hook.savedBytes, CodePointer(site), kCallSize);
        hook.original = WriteRelativeCall(site, CodeAddressOf(thunks[static_cast<std::size_t>(slot)]));
        return slot;
    }
    return -1;
}

void RemoveCallHook(int slot) {
    if (slot < 0 || slot >= kMaxHooks) return;
    Hook& hook = hooks[static_cast<std::size_t>(slot)];
    if (!hook.used) return;
    WriteBytes(hook.site, hook.savedBytes, kCallSize);
    hook = Hook{};
}

}  // namespace plugin
