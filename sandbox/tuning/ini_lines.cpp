#include "tuning/ini_lines.h"

namespace sandbox {

namespace {

bool IsBlank(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x09 && byte <= 0x0D) || byte == 0x20 || byte == 0x1A;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

IniListing ListIniLines(std::string_view text) {
    IniListing listing;
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) {
        listing.byteOrderMark = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    int number = 1;
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = Trim(text.substr(0, end));
        if (end == std::string_view::npos) end = text.size();
        // "\r\n" ends one line for an editor; the reader sees an empty line between, which is the same.
        std::size_t next = end + 1;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++next;
        if (!line.empty()) {
            IniLine entry;
            entry.number = number;
            if (line.front() == '[') {
                entry.isHeader = true;
                const std::size_t close = line.rfind(']');
                entry.name = Trim(
                    line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            } else {
                const std::size_t equals = line.find('=');
                entry.name = Trim(line.substr(0, equals));
                entry.hasEquals = equals != std::string_view::npos;
                if (entry.hasEquals) entry.value = Trim(line.substr(equals + 1));
            }
            listing.lines.push_back(std::move(entry));
        }
        ++number;
        text.remove_prefix(std::min(next, text.size()));
    }
    return listing;
}

}  // namespace sandbox
