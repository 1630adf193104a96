#include "setup/window_server_name.h"

#include <array>
#include <cstdio>

namespace volt::setup {
namespace {

[[nodiscard]] bool IsNameCharacter(char c) noexcept {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// FNV-1a, 32 bits.
[[nodiscard]] std::uint32_t HashOf(std::string_view text) noexcept {
    std::uint32_t hash = 2166136261U;
    for (const char c : text) {
        hash ^= static_cast<std::uint8_t>(c);
        hash *= 16777619U;
    }
    return hash;
}

}  // namespace

std::string WindowServerName(std::string_view title, std::uint32_t userId) {
    std::string name = "volt-window-";
    bool altered = title.size() > kMaxTitleInName;
    for (std::size_t i = 0; i < title.size() && i < kMaxTitleInName; ++i) {
        const bool keep = IsNameCharacter(title[i]);
        altered = altered || !keep;
        name += keep ? title[i] : '_';
    }
    std::array<char, 32> tail{};
    // "A B" and "A_B" must not meet under one name.
    if (altered) {
        std::snprintf(tail.data(), tail.size(), "-%08x", HashOf(title));
        name += tail.data();
    }
    std::snprintf(tail.data(), tail.size(), "-%u", userId);
    name += tail.data();
    return name;
}

}  // namespace volt::setup
