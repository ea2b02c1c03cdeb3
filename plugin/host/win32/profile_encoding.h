#pragma once

#include <string>
#include <string_view>

namespace vigilor::win32 {

// An INI file's bytes as the ANSI functions see them, in the Western code page (1252): a UTF-8 file
// (one that starts with its byte-order mark) and a UTF-16 file (either byte order, with its mark) are
// decoded and re-encoded, characters the code page lacks and malformed sequences becoming '?'. Any
// other file is taken byte for byte.
std::string ProfileTextInCodePage(std::string_view fileBytes);

}  // namespace vigilor::win32
