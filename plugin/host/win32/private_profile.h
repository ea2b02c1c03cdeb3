#pragma once

// Our reading of the two Windows INI readers the plugin takes its settings from: the stand-ins on
// Linux, and held against the system's own on Windows. They must give the Windows result for the
// same file, so that one INI means the same thing on every platform.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#ifdef _WIN32
#include "host/win32/windows.h"
#else
// The Windows names, answered by this reader (ReadProfileInt, ReadProfileString below).
unsigned int GetPrivateProfileIntA(const char* appName, const char* keyName, int defaultValue,
                                   const char* fileName);
unsigned long GetPrivateProfileStringA(const char* appName, const char* keyName, const char* defaultValue,
                                       char* returnedString, unsigned long size, const char* fileName);
#endif

namespace vigilor::win32 {

// Value of key in the first section named `section` in an INI text, trimmed and with one pair of
// matching outer quotes removed, before any buffer cut. nullopt when there is nothing to read: the
// key is absent, or its first line has no '=' (that line still ends the search, and both readers
// then fall back to the default just as for a missing key).
std::optional<std::string> FindProfileValue(std::string_view fileText, std::string_view section,
                                            std::string_view key);

// For tables of section and key names, which the readers match as ASCII letters without regard
// to case.
struct ProfileNameHash {
    std::size_t operator()(std::string_view name) const;
};
struct ProfileNameEqual {
    bool operator()(std::string_view a, std::string_view b) const;
};

// Every value FindProfileValue would find in one INI text, read in one pass: for asking many keys.
// It keeps the text and points into it, so it is neither copied nor moved.
class ProfileIndex {
public:
    explicit ProfileIndex(std::string text);
    ProfileIndex(const ProfileIndex&) = delete;
    ProfileIndex& operator=(const ProfileIndex&) = delete;

    // FindProfileValue(text, section, key).
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

private:
    template <typename Value>
    using ByName = std::unordered_map<std::string_view, Value, ProfileNameHash, ProfileNameEqual>;

    std::string text_;
    // Only each name's first section; a key line without '=' holds no value.
    ByName<ByName<std::optional<std::string_view>>> sections_;
};

// Integer reading of a non-empty value: leading bytes 1..32 skipped, one optional sign, decimal
// digits or hex after a lower-case "0x", stopping at the first other character, wrapping mod 2^32.
std::uint32_t ParseProfileInt(std::string_view value);

// Integer value of keyName in section appName, or defaultValue when the key is missing, has no '='
// or has an empty value. A missing or unreadable file also gives the default.
unsigned int ReadProfileInt(const char* appName, const char* keyName, int defaultValue, const char* fileName);

// Copies the value (or defaultValue without its trailing spaces, "" when null) into returnedString, cut to
// size - 1 characters and always terminated. Returns the number of characters copied, not counting the
// terminator; with a null buffer or size 0 nothing is written and 0 is returned.
unsigned long ReadProfileString(const char* appName, const char* keyName, const char* defaultValue,
                                char* returnedString, unsigned long size, const char* fileName);

}  // namespace vigilor::win32
