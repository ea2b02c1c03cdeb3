#include "host/patch.h"

#include <cstring>

#include "host/call_hook.h"

namespace plugin::patch {

void RedirectCall(CodeAddress address, void (*function)(), bool vp) {
    WriteRelativeCall(address, CodeAddressOf(function), vp);
}

void CallRedirects::Redirect(CodeAddress address, void (*function)(), bool vp) {
    Saved saved{address, CodeAddressOf(function), {}};
    std::memcpy(saved.bytes, CodePointer(address), kCallSize);
    WriteRelativeCall(address, saved.function, vp);
    if (ReadRelativeCall(address) == saved.function) saved_.push_back(saved);  // else nothing to undo
}

void CallRedirects::Restore() {
    // Latest first, so that a site redirected twice ends with its first bytes.
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (ReadRelativeCall(it->site) == it->function) WriteCallBytes(it->site, it->bytes, true);
    }
    saved_.clear();
}

}  // namespace plugin::patch
