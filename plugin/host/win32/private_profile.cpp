#include "host/win32/private_profile.h"

#include "host/win32/profile_encoding.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vigilor::win32 {
namespace {

// The bytes Windows strips around lines, names and values; 0x1A is the old end-of-file marker.
bool IsBlank(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x09 && byte <= 0x0D) || byte == 0x20 || byte == 0x1A;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// ASCII-only folding so the result does not depend on the process locale.
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// A header needs its ']'; a line that opens one and never closes it is read as a key line of the
// section it stands in, as Windows reads it.
bool IsHeader(std::string_view line) {
    return line.front() == '[' && line.find(']') != std::string_view::npos;
}

// Name between '[' and the last ']' on a header line.
std::string_view SectionName(std::string_view line) { return Trim(line.substr(1, line.rfind(']') - 1)); }

std::string_view Unquote(std::string_view value) {
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

namespace {

// One meaningful line of an INI text: a section header, or a key line (value null without '=').
struct ProfileLine {
    bool header;
    std::string_view name;
    std::optional<std::string_view> value;
};

// Calls visit(line) for each non-blank line, trimmed, in file order, while it returns true.
template <typename Visit>
void WalkProfile(std::string_view fileText, Visit&& visit) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (fileText.starts_with(kByteOrderMark)) {
        fileText.remove_prefix(kByteOrderMark.size());
    }
    while (!fileText.empty()) {
        const std::size_t end = fileText.find_first_of("\r\n");
        const std::string_view line = Trim(fileText.substr(0, end));
        fileText.remove_prefix(end == std::string_view::npos ? fileText.size() : end + 1);
        if (line.empty()) {
            continue;
        }
        ProfileLine read{IsHeader(line), {}, std::nullopt};
        if (read.header) {
            read.name = SectionName(line);
        } else {
            const std::size_t equals = line.find('=');
            read.name = Trim(line.substr(0, equals));
            if (equals != std::string_view::npos) {
                read.value = Unquote(Trim(line.substr(equals + 1)));
            }
        }
        if (!visit(read)) {
            return;
        }
    }
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view fileText, std::string_view section,
                                            std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    bool inSection = false;
    std::optional<std::string> found;
    WalkProfile(fileText, [&](const ProfileLine& line) {
        if (line.header) {
            if (inSection) {
                return false;  // later repeats of the section are never searched
            }
            inSection = SameName(line.name, section);
            return true;
        }
        if (!inSection || !SameName(line.name, key)) {
            return true;
        }
        // The first line of the key ends the search, with or without its '='.
        if (line.value) {
            found = std::string(*line.value);
        }
        return false;
    });
    return found;
}

std::size_t ProfileNameHash::operator()(std::string_view name) const {
    std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a, in 64 bits on every platform
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(LowerAscii(c))) * 1099511628211ULL;
    }
    return static_cast<std::size_t>(hash);
}

bool ProfileNameEqual::operator()(std::string_view a, std::string_view b) const { return SameName(a, b); }

ProfileIndex::ProfileIndex(std::string text) : text_(std::move(text)) {
    ByName<std::optional<std::string_view>>* keys = nullptr;
    WalkProfile(text_, [&](const ProfileLine& line) {
        if (line.header) {
            // Only the first section of a name is ever searched, as above.
            const auto [section, isFirst] = sections_.try_emplace(line.name);
            keys = isFirst ? &section->second : nullptr;
        } else if (keys != nullptr) {
            keys->try_emplace(line.name, line.value);
        }
        return true;
    });
}

std::optional<std::string> ProfileIndex::Find(std::string_view section, std::string_view key) const {
    const auto keys = sections_.find(Trim(section));
    if (keys == sections_.end()) {
        return std::nullopt;
    }
    const auto value = keys->second.find(Trim(key));
    if (value == keys->second.end() || !value->second) {
        return std::nullopt;
    }
    return std::string(*value->second);
}

std::uint32_t ParseProfileInt(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && static_cast<unsigned char>(value[i]) >= 1 &&
           static_cast<unsigned char>(value[i]) <= 32) {
        ++i;
    }
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    std::uint32_t base = 10;
    if (value.substr(i).starts_with("0x")) {
        base = 16;
        i += 2;
    }
    std::uint32_t result = 0;
    for (; i < value.size(); ++i) {
        const int digit = DigitValue(value[i]);
        if (digit < 0 || static_cast<std::uint32_t>(digit) >= base) {
            break;
        }
        // Unsigned arithmetic gives the modulo-2^32 wrap Windows shows on overflow.
        result = result * base + static_cast<std::uint32_t>(digit);
    }
    return negative ? 0U - result : result;
}

namespace {

// Whether the rest of the file holds exactly these bytes; read in pieces, so that a file read
// again and again costs no memory.
bool HoldsBytes(std::ifstream& file, std::string_view bytes) {
    char chunk[1 << 16];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        const auto count = static_cast<std::size_t>(file.gcount());
        if (count > bytes.size() || std::memcmp(chunk, bytes.data(), count) != 0) {
            return false;
        }
        bytes.remove_prefix(count);
    }
    return bytes.empty();
}

std::optional<std::string> ReadProfileValue(const char* appName, const char* keyName, const char* fileName) {
    if (appName == nullptr || keyName == nullptr || fileName == nullptr) {
        return std::nullopt;
    }
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    // A reader of settings asks for key after key of one file: the file is read every time, so an
    // edit is always seen, but parsed again only when its bytes changed. Settings are read on the
    // game's one thread; no thread_local, which would pin the module in memory past its unload.
    static std::string lastBytes;
    static std::optional<ProfileIndex> lastIndex;
    if (!lastIndex || !HoldsBytes(file, lastBytes)) {
        file.clear();
        file.seekg(0);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        lastBytes = std::move(bytes).str();
        lastIndex.emplace(ProfileTextInCodePage(lastBytes));
    }
    return lastIndex->Find(appName, keyName);
}

}  // namespace

unsigned int ReadProfileInt(const char* appName, const char* keyName, int defaultValue,
                            const char* fileName) {
    const std::optional<std::string> value = ReadProfileValue(appName, keyName, fileName);
    if (!value || value->empty()) {
        return static_cast<unsigned int>(defaultValue);
    }
    // Windows reads the number from a 30-character buffer: what lies beyond is never seen.
    constexpr std::size_t kIntegerBuffer = 30;
    return ParseProfileInt(std::string_view(*value).substr(0, kIntegerBuffer - 1));
}

unsigned long ReadProfileString(const char* appName, const char* keyName, const char* defaultValue,
                                char* returnedString, unsigned long size, const char* fileName) {
    if (returnedString == nullptr || size == 0) {
        return 0;
    }
    const std::optional<std::string> value = ReadProfileValue(appName, keyName, fileName);
    std::string_view text = defaultValue != nullptr ? defaultValue : "";
    // Windows drops trailing spaces from the default, though never its first character.
    while (text.size() > 1 && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (value) {
        text = *value;
    }
    // A NUL byte inside the file would leave the caller's C string shorter than the count we return.
    text = text.substr(0, text.find('\0'));
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::copy_n(text.data(), count, returnedString);
    returnedString[count] = '\0';
    return static_cast<unsigned long>(count);
}

}  // namespace vigilor::win32

#ifndef _WIN32
unsigned int GetPrivateProfileIntA(const char* appName, const char* keyName, int defaultValue,
                                   const char* fileName) {
    return vigilor::win32::ReadProfileInt(appName, keyName, defaultValue, fileName);
}

unsigned long GetPrivateProfileStringA(const char* appName, const char* keyName, const char* defaultValue,
                                       char* returnedString, unsigned long size, const char* fileName) {
    return vigilor::win32::ReadProfileString(appName, keyName, defaultValue, returnedString, size, fileName);
}
#endif
