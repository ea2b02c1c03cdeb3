#pragma once

// The module hides everything but the names the host may look up.
#ifdef _WIN32
#define VIGILOR_EXPORT __declspec(dllexport)
#else
#define VIGILOR_EXPORT __attribute__((visibility("default")))
#endif
