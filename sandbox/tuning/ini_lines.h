#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sandbox {

/// One non-blank line of an INI file, split as the plugin's reader splits it.
struct IniLine {
    int number = 0;          ///< 1-based, as an editor counts ("\r\n" is one line end)
    bool isHeader = false;   ///< a "[section]" line
    std::string name;        ///< section name for a header, key name otherwise (trimmed)
    bool hasEquals = false;  ///< a key line with '='
    std::string value;       ///< a key line's text after its first '=' (trimmed)
};

struct IniListing {
    bool byteOrderMark = false;  ///< the text starts with a UTF-8 byte-order mark
    std::vector<IniLine> lines;
};

/// Lists the headers and key lines of an INI text by the reader's rules: lines end at '\r' or '\n',
/// are trimmed, a line starting with '[' is a header named up to its last ']'.
IniListing ListIniLines(std::string_view text);

}  // namespace sandbox
