#pragma once

#include <cstdint>
#include <vector>

#include "host/call_hook.h"
#include "host/code.h"

namespace plugin::patch {

/// Makes the five-byte relative call at `address` call `function` instead; with `vp` the page
/// protection is lifted for the write (without it the code must already be writable).
void RedirectCall(CodeAddress address, void (*function)(), bool vp = true);

/// Calls redirected to this module's functions, with the bytes each site held before. When the
/// module unloads, its functions are gone, so the owner's destructor writes the sites back.
class CallRedirects {
public:
    CallRedirects() = default;
    ~CallRedirects() { Restore(); }
    CallRedirects(const CallRedirects&) = delete;
    CallRedirects& operator=(const CallRedirects&) = delete;

    /// RedirectCall, remembering the site's bytes.
    void Redirect(CodeAddress address, void (*function)(), bool vp = true);
    /// Writes back every site that still calls the function put there; a site patched again by
    /// somebody else since is theirs now and stays as it is.
    void Restore();

private:
    struct Saved {
        CodeAddress site;
        CodeAddress function;  ///< the destination written there
        std::uint8_t bytes[kCallSize];
    };
    std::vector<Saved> saved_;
};

}  // namespace plugin::patch
