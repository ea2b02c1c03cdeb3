#pragma once

#include <string_view>
#include <vector>

namespace sandbox {

/// One source file of the replay viewer, as built into the program.
struct ViewerAsset {
    std::string_view name;  ///< path under viewer/, e.g. "js/map.js"
    std::string_view text;
};

/// Every file under viewer/, sorted by path. Generated at build time.
const std::vector<ViewerAsset>& ViewerAssets();

}  // namespace sandbox
