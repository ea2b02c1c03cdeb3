#include "host/patch.h"

#include "host/call_hook.h"

namespace plugin::patch {

void RedirectCall(CodeAddress address, void (*function)(), bool vp) {
    WriteRelativeCall(address, CodeAddressOf(function), vp);
}

}  // namespace plugin::patch
