#include "files/ini_file.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace volt {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) noexcept {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

char LowerAscii(char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) noexcept {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

int DigitValue(char c, int base) noexcept {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
    IniFile file;
    if (text.starts_with(kUtf8Bom)) {
        text.remove_prefix(kUtf8Bom.size());
    }
    std::string section;
    bool inSection = false;  // keys before the first section header belong nowhere
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        line = Trim(line);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const auto close = line.find(']');
            if (close != std::string_view::npos) {
                section = std::string(Trim(line.substr(1, close - 1)));
                inSection = true;
            }
            continue;
        }
        const auto equals = line.find('=');
        if (!inSection || equals == std::string_view::npos) {
            continue;
        }
        file.entries_.push_back({section, std::string(Trim(line.substr(0, equals))),
                                 std::string(Trim(line.substr(equals + 1)))});
    }
    return file;
}

std::optional<std::string_view> IniFile::ReadString(std::string_view section,
                                                    std::string_view key) const noexcept {
    for (const Entry& entry : entries_) {
        if (EqualNoCase(entry.Section, section) && EqualNoCase(entry.Key, key)) {
            return entry.Value;
        }
    }
    return std::nullopt;
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const noexcept {
    const auto text = ReadString(section, key);
    if (!text) {
        return defaultValue;
    }
    return ParseIniInteger(*text).value_or(defaultValue);
}

std::optional<std::int32_t> ParseIniInteger(std::string_view text) noexcept {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // Magnitude limit: 2^31 for a negative number, 2^31 - 1 otherwise.
    const std::int64_t limit =
        std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
    std::int64_t magnitude = 0;
    for (const char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0) {
            return std::nullopt;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

void IniWriter::WriteString(std::string_view section, std::string_view key,
                            std::string_view value) {
    auto sectionIt = std::find_if(sections_.begin(), sections_.end(),
                                  [&](const Section& s) { return EqualNoCase(s.Name, section); });
    if (sectionIt == sections_.end()) {
        sections_.push_back({std::string(section), {}});
        sectionIt = std::prev(sections_.end());
    }
    auto& keys = sectionIt->Keys;
    const auto keyIt = std::find_if(keys.begin(), keys.end(),
                                    [&](const auto& k) { return EqualNoCase(k.first, key); });
    if (keyIt == keys.end()) {
        keys.emplace_back(std::string(key), std::string(value));
    } else {
        keyIt->second = std::string(value);
    }
}

void IniWriter::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

std::string IniWriter::Text() const {
    std::string text;
    for (const Section& section : sections_) {
        if (!text.empty()) {
            text += '\n';
        }
        text += '[' + section.Name + "]\n";
        for (const auto& [key, value] : section.Keys) {
            text += key + '=' + value + '\n';
        }
    }
    return text;
}

}  // namespace volt
