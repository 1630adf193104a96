#pragma once
// Recognising a run file by its first 16 bytes: the length byte 15 and "TARVEX_CGM_3_XP".

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace volt {

inline constexpr std::string_view kRunFileMagic = "TARVEX_CGM_3_XP";

// Any other length byte fails; nothing after byte 15 is examined.
[[nodiscard]] bool IsRunFile(std::span<const std::uint8_t> bytes) noexcept;

// Reads at most the 277 header bytes; a missing or unreadable file is not a run file.
[[nodiscard]] bool IsRunFile(const std::filesystem::path& path);

}  // namespace volt
