#include "scenario/run_section.h"

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

#include "scenario/value_readers.h"

namespace sandbox::loader {

namespace {

constexpr std::string_view kNotInNames = "/\\:*?\"<>|";
// A folder name may take 255 bytes; runs add their own folders and suffixes under and beside it.
constexpr std::size_t kMaxNameBytes = 100;

// Cut to at most kMaxNameBytes, never inside a UTF-8 character.
std::string Shortened(std::string name) {
    if (name.size() <= kMaxNameBytes) return name;
    std::size_t end = kMaxNameBytes;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    name.resize(end);
    return name;
}

std::string DefaultName(std::string_view sourceName) {
    std::string name = std::filesystem::path(sourceName).stem().string();
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || kNotInNames.find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    name = Shortened(std::move(name));
    return name.empty() || name == "." || name == ".." ? "scenario" : name;
}

// The name becomes a folder under runs/, so it must be one harmless path component.
std::string ReadName(const Json& value, const std::string& path) {
    std::string name = ReadString(value, path);
    bool bad = name.empty() || name == "." || name == ".." || HasControlCharacter(name) ||
               name.find_first_of(kNotInNames) != std::string::npos || name.front() == ' ' ||
               name.back() == ' ' || name.back() == '.';
    if (bad) {
        Fail(path,
             "expected a name usable as a folder name (no / \\ : * ? \" < > |, no leading or trailing "
             "space, not ending in a dot)");
    }
    if (name.size() > kMaxNameBytes) {
        Fail(path, "the name is " + std::to_string(name.size()) +
                       " bytes long; a folder name here takes at most " + std::to_string(kMaxNameBytes));
    }
    return name;
}

FrameTime ReadFrameTime(const Json& value, const std::string& path) {
    if (value.is_array()) {
        if (value.size() != 2) {
            Fail(path, "expected a number of milliseconds or [min, max]");
        }
        FrameTime frame;
        frame.minMs = ReadMs(value[0], ElementPath(path, 0));
        frame.maxMs = ReadMs(value[1], ElementPath(path, 1));
        if (frame.minMs == 0) {
            Fail(ElementPath(path, 0), "a frame must take at least 1 ms");
        }
        if (frame.minMs > frame.maxMs) {
            Fail(path, "min is greater than max");
        }
        return frame;
    }
    uint32_t ms = ReadMs(value, path);
    if (ms == 0) {
        Fail(path, "a frame must take at least 1 ms");
    }
    return {ms, ms};
}

}  // namespace

void ReadRunFields(const Fields& root, std::string_view sourceName, Scenario& scenario) {
    scenario.sourceName = std::string(sourceName);
    scenario.name = root.Opt("name", DefaultName(sourceName), ReadName);
    scenario.description = root.Opt("description", std::string(), ReadString);
    scenario.seed = root.Opt("seed", uint32_t{1}, [](const Json& v, const std::string& p) {
        return ReadWhole(v, p, 0, std::numeric_limits<uint32_t>::max());
    });
    scenario.clockStartMs = root.Opt("clockStartMs", uint32_t{0}, ReadMs);
    scenario.frame = root.Opt("frameMs", FrameTime{}, ReadFrameTime);
    scenario.durationMs = root.Req("durationMs", ReadMs);
}

}  // namespace sandbox::loader
