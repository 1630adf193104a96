#pragma once
// A small INI reader and writer for the program's own data files. Section and key names compare
// without regard to ASCII case, as INI readers on Windows do. When a file names a key twice the
// first occurrence wins (also across repeated sections of one name), again as on Windows.
// Lines are "[Section]", "Key=Value" or comments starting with ';'; other lines are ignored.
// Names and values are trimmed of spaces and tabs; a ';' after a value is part of the value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace volt {

class IniFile {
  public:
    // Accepts any text: CR LF or LF line ends, a leading UTF-8 byte order mark.
    [[nodiscard]] static IniFile Parse(std::string_view text);

    [[nodiscard]] std::optional<std::string_view> ReadString(std::string_view section,
                                                             std::string_view key) const noexcept;
    // The default for a missing key, an empty value or a value that is not a 32-bit integer.
    [[nodiscard]] std::int32_t ReadInteger(std::string_view section, std::string_view key,
                                           std::int32_t defaultValue) const noexcept;

  private:
    struct Entry {
        std::string Section;
        std::string Key;
        std::string Value;
    };
    std::vector<Entry> entries_;  // in file order
};

// Decimal with an optional sign, or hexadecimal after "$", "0x" or "0X" (a sign may precede the
// prefix). The whole text must be the number, and the number must lie in the 32-bit range:
// "0x80000000" is out of range, "-0x80000000" is not.
[[nodiscard]] std::optional<std::int32_t> ParseIniInteger(std::string_view text) noexcept;

// Collects sections and keys in the order they are first written and renders them as text.
class IniWriter {
  public:
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    [[nodiscard]] std::string Text() const;

  private:
    struct Section {
        std::string Name;
        std::vector<std::pair<std::string, std::string>> Keys;
    };
    std::vector<Section> sections_;
};

}  // namespace volt
