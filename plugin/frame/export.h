#pragma once

// The module hides everything but the names the host may look up.
#define VIGILOR_EXPORT __attribute__((visibility("default")))
