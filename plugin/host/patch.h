#pragma once

#include "host/code.h"

namespace plugin::patch {

/// Makes the five-byte relative call at `address` call `function` instead.
void RedirectCall(CodeAddress address, void (*function)(), bool vp = true);

}  // namespace plugin::patch
