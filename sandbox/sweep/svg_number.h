#pragma once

#include <cstdio>
#include <string>

namespace sandbox {

/// A coordinate or length in the report's drawings: one decimal, enough on a screen and short.
inline std::string SvgNumber(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

}  // namespace sandbox
