#pragma once
// Titles and battery names are 8-bit text as Windows-1252 stores it (what run files made on
// Windows hold). Inside voltcore they stay bytes; they are converted only at the edges: Qt
// strings, JSON and CSV, which speak UTF-8.

#include <string>
#include <string_view>

namespace volt {

// Every byte has a meaning; the five bytes Windows-1252 leaves undefined map to U+0080..U+009F
// as their code points, so nothing read from a file is lost.
[[nodiscard]] std::string Cp1252ToUtf8(std::string_view cp1252);

// A character Windows-1252 lacks, or a malformed UTF-8 sequence, becomes '?'.
[[nodiscard]] std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace volt
