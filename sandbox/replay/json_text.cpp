#include "replay/json_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace sandbox {

namespace {

// Beyond this a position is nonsense anyway; clamping keeps the integer arithmetic defined.
constexpr double kLargestHundredths = 1e15;

}  // namespace

std::int64_t NearestWhole(double value) {
    // The truncation and the fraction left over are both exact in this range, so this is
    // std::round without the library call: every position of every sample goes through here.
    auto whole = static_cast<std::int64_t>(value);
    const double fraction = value - static_cast<double>(whole);
    if (fraction >= 0.5)
        ++whole;
    else if (fraction <= -0.5)
        --whole;
    return whole;
}

std::int64_t Hundredths(double value) {
    if (!std::isfinite(value)) return 0;
    const double scaled = value * 100.0;
    if (scaled >= kLargestHundredths) return static_cast<std::int64_t>(kLargestHundredths);
    if (scaled <= -kLargestHundredths) return static_cast<std::int64_t>(-kLargestHundredths);
    return NearestWhole(scaled);
}

void AppendInt(std::string& out, std::int64_t value) {
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    out.append(text, static_cast<std::size_t>(end - text));
}

void AppendNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    const std::int64_t h = Hundredths(value);
    const std::int64_t whole = h / 100;
    const std::int64_t part = h % 100 < 0 ? -(h % 100) : h % 100;
    // Put together before one append: the recorder writes hundreds of thousands of these.
    char text[32];
    char* at = text;
    if (h < 0 && whole == 0) *at++ = '-';
    at = std::to_chars(at, at + 20, whole).ptr;
    if (part != 0) {
        *at++ = '.';
        *at++ = static_cast<char>('0' + part / 10);
        if (part % 10 != 0) *at++ = static_cast<char>('0' + part % 10);
    }
    out.append(text, static_cast<std::size_t>(at - text));
}

namespace {

// The characters a JSON string for the page cannot carry as they are.
constexpr bool NeedsEscape(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '\\' || c == '<' || c == '>' || c == '&';
}

}  // namespace

void AppendString(std::string& out, std::string_view text) {
    out += '"';
    // Runs of plain characters go in whole: log lines are long and nearly all plain.
    std::size_t plain = 0;
    while (plain < text.size() && !NeedsEscape(text[plain])) ++plain;
    out.append(text.data(), plain);
    for (const char c : text.substr(plain)) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            // Free text must neither close the script element nor open markup.
            case '<': out += "\\u003c"; break;
            case '>': out += "\\u003e"; break;
            case '&': out += "\\u0026"; break;
            default:
                if (u < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

std::string ScriptSafe(std::string_view json) {
    std::string out;
    out.reserve(json.size());
    for (const char c : json) {
        switch (c) {
            case '<': out += "\\u003c"; break;
            case '>': out += "\\u003e"; break;
            case '&': out += "\\u0026"; break;
            default: out += c;
        }
    }
    return out;
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

namespace {

void AppendCoordinates(std::string& out, Vec3 p, bool withZ) {
    out += '[';
    AppendNumber(out, p.x);
    out += ',';
    AppendNumber(out, p.y);
    if (withZ) {
        out += ',';
        AppendNumber(out, p.z);
    }
    out += ']';
}

}  // namespace

void AppendPoint(std::string& out, Vec3 p) { AppendCoordinates(out, p, true); }

void AppendFlat(std::string& out, Vec3 p) { AppendCoordinates(out, p, false); }

}  // namespace sandbox
