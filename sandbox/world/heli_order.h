#pragma once

#include "code/code_image.h"

namespace sandbox {

class World;

/// The host's helicopter order (a member function of the helicopter): fly to (x, y) at the first
/// of three heights. Only the order is kept; flying it out is the host's per-frame work.
void OrderHeli(World& world, void* self, const CodeImage::MethodArgs& args);

}  // namespace sandbox
