#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "geometry/vec3.h"

namespace sandbox {

/// Appending JSON values to text without building a document: the recorder writes hundreds of
/// thousands of small values, and a document per value would cost more than the run itself.

void AppendInt(std::string& out, std::int64_t value);
/// A number rounded to hundredths (a centimetre, a hundredth of a degree), written as an integer
/// when the rounding leaves none; a value that is not finite becomes null.
void AppendNumber(std::string& out, double value);
/// A JSON string with every character that could end the page's script element escaped.
void AppendString(std::string& out, std::string_view text);
/// JSON text with '<', '>' and '&' escaped, so it may stand inside a script element. These occur
/// in JSON only inside strings, where their escapes mean the same.
std::string ScriptSafe(std::string_view json);
/// `text` for an HTML page, as element text or a quoted attribute value.
std::string HtmlEscape(std::string_view text);
/// [x, y, z] in metres, each rounded to hundredths.
void AppendPoint(std::string& out, Vec3 p);
/// [x, y] in metres, each rounded to hundredths.
void AppendFlat(std::string& out, Vec3 p);

/// The nearest whole number, halves away from zero, as std::round gives it; only for values
/// below kLargestWhole in size.
inline constexpr double kLargestWhole = 1e15;
std::int64_t NearestWhole(double value);
/// Hundredths of a metre (or a degree), the unit the recorder stores positions in; values far
/// out of range saturate rather than overflow.
std::int64_t Hundredths(double value);

}  // namespace sandbox
