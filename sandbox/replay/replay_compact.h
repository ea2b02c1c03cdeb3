#pragma once

#include <nlohmann/json.hpp>

namespace sandbox {

/// The replay data as the page carries it, several times smaller than as recorded: every array of
/// two or more objects becomes a table, {"$cols": [keys], "$rows": [[values], ...]}, with null where
/// a row lacks a key, and every fractional number is rounded to hundredths (a centimetre, a
/// hundredth of a degree), integral results written as integers. The viewer expands tables as it
/// reads them; fields it does not know pass through unchanged.
nlohmann::json CompactReplay(const nlohmann::json& data);

}  // namespace sandbox
