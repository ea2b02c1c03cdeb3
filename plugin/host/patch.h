#pragma once

#include "host/code.h"

namespace plugin::patch {

/// Makes the five-byte relative call at `address` call `function` instead; with `vp` the page
/// protection is lifted for the write (without it the code must already be writable).
void RedirectCall(CodeAddress address, void (*function)(), bool vp = true);

}  // namespace plugin::patch
