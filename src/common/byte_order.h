#pragma once
// Little-endian integer access on byte images (run-file header, colour file).

#include <cstddef>
#include <cstdint>
#include <span>

namespace volt {

[[nodiscard]] inline std::int32_t ReadLe32(std::span<const std::uint8_t> bytes,
                                           std::size_t offset) noexcept {
    const std::uint32_t value =
        std::uint32_t{bytes[offset]} | (std::uint32_t{bytes[offset + 1]} << 8) |
        (std::uint32_t{bytes[offset + 2]} << 16) | (std::uint32_t{bytes[offset + 3]} << 24);
    return static_cast<std::int32_t>(value);
}

[[nodiscard]] inline std::int16_t ReadLe16(std::span<const std::uint8_t> bytes,
                                           std::size_t offset) noexcept {
    const auto value =
        static_cast<std::uint16_t>(bytes[offset] | (std::uint32_t{bytes[offset + 1]} << 8));
    return static_cast<std::int16_t>(value);
}

inline void WriteLe32(std::span<std::uint8_t> bytes, std::size_t offset,
                      std::int32_t value) noexcept {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

inline void WriteLe16(std::span<std::uint8_t> bytes, std::size_t offset,
                      std::int16_t value) noexcept {
    const auto bits = static_cast<std::uint16_t>(value);
    bytes[offset] = static_cast<std::uint8_t>(bits);
    bytes[offset + 1] = static_cast<std::uint8_t>(bits >> 8);
}

}  // namespace volt
