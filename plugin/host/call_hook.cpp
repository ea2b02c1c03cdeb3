#include "host/call_hook.h"

#include <array>
#include <cstring>

#include "host/events.h"
#include "host/win32/windows.h"

namespace plugin {

namespace {

constexpr std::uint8_t kCallOpcode = 0xE8;

struct Hook {
    bool used = false;
    CodeAddress site = 0;
    std::uint8_t savedBytes[kCallSize] = {};  ///< the site's bytes before this hook
    CodeAddress original = 0;                 ///< what this hook calls between its lists
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

CodeAddress ThunkAddress(int slot) { return CodeAddressOf(thunks[static_cast<std::size_t>(slot)]); }

// The hook on `site` whose call in between reaches `destination`, if any.
Hook* HookCalling(CodeAddress site, CodeAddress destination) {
    for (Hook& hook : hooks) {
        if (hook.used && hook.site == site && hook.original == destination) return &hook;
    }
    return nullptr;
}

}  // namespace

bool WriteCallBytes(CodeAddress site, const std::uint8_t* bytes, bool unprotect) {
    std::uint8_t* target = CodePointer(site);
    unsigned long old = 0;
    // Writing into code we could not make writable would fault; leave it unpatched instead.
    if (unprotect && VirtualProtect(target, kCallSize, PAGE_EXECUTE_READWRITE, &old) == 0) return false;
    std::memcpy(target, bytes, kCallSize);
    if (unprotect) VirtualProtect(target, kCallSize, old, &old);
    return true;
}

CodeAddress ReadRelativeCall(CodeAddress site) {
    const std::uint8_t* bytes = CodePointer(site);
    if (bytes[0] != kCallOpcode) return 0;
    std::int32_t displacement = 0;
    std::memcpy(&displacement, bytes + 1, sizeof displacement);
    return site + kCallSize + static_cast<CodeAddress>(displacement);
}

CodeAddress WriteRelativeCall(CodeAddress site, CodeAddress destination, bool unprotect) {
    const CodeAddress replaced = ReadRelativeCall(site);
    std::uint8_t bytes[kCallSize] = {kCallOpcode};
    const auto displacement = static_cast<std::int32_t>(destination - (site + kCallSize));
    std::memcpy(bytes + 1, &displacement, sizeof displacement);
    return WriteCallBytes(site, bytes, unprotect) ? replaced : 0;
}

int InstallCallHook(CodeAddress site, const BaseEvent* event) {
    if (ReadRelativeCall(site) == 0) return -1;
    for (int slot = 0; slot < kMaxHooks; ++slot) {
        Hook& hook = hooks[static_cast<std::size_t>(slot)];
        if (hook.used) continue;
        std::memcpy(hook.savedBytes, CodePointer(site), kCallSize);
        hook.original = WriteRelativeCall(site, ThunkAddress(slot));
        if (hook.original == 0) return -1;
        hook.used = true;
        hook.site = site;
        hook.event = event;
        return slot;
    }
    return -1;
}

void RemoveCallHook(int slot) {
    if (slot < 0 || slot >= kMaxHooks) return;
    Hook& hook = hooks[static_cast<std::size_t>(slot)];
    if (!hook.used) return;
    const CodeAddress thunk = ThunkAddress(slot);
    if (ReadRelativeCall(hook.site) == thunk) {
        WriteCallBytes(hook.site, hook.savedBytes, true);
    } else if (Hook* later = HookCalling(hook.site, thunk)) {
        // Unhooked out of order: the later hook skips this one, and restores what this one saved.
        later->original = hook.original;
        std::memcpy(later->savedBytes, hook.savedBytes, kCallSize);
    }
    hook = Hook{};
}

}  // namespace plugin
