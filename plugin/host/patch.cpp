#include "host/patch.h"

#include "host/call_hook.h"

namespace plugin::patch {

void RedirectCall(CodeAddress address, void (*function)(), bool) {
    WriteRelativeCall(address, CodeAddressOf(function));
}

}  // namespace plugin::patch
