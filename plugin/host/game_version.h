#pragma once

namespace plugin {

/// Build id of the host executable from its code bytes: 1001, 1002, ... or 0 when unknown.
unsigned int detect_game_id();
/// The build id, detected once.
unsigned int GetGameVersion();

}  // namespace plugin
