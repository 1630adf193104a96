#pragma once
// The header block of a graph document: byte for byte the first 277 bytes of a run file. The
// image is packed little-endian with several 32-bit fields on odd offsets, so it is written and
// read field by field. Reserved bytes are kept as they were read, so that a run file opened and
// saved again is byte-identical.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace volt {

inline constexpr std::size_t kCgmHeaderBytes = 277;
inline constexpr std::size_t kShortTextBytes = 64;  // FileMagic and Title
inline constexpr std::size_t kTitleMaxChars = 63;   // one byte is left for the zero

// Byte offsets inside the image.
namespace cgm_offset {
inline constexpr std::size_t kFileMagic = 0;
inline constexpr std::size_t kMode = 64;
inline constexpr std::size_t kBatteryType = 65;
inline constexpr std::size_t kChannel = 66;
inline constexpr std::size_t kReserved67 = 67;  // 4 x int32
inline constexpr std::size_t kVoltageVisible = 83;
inline constexpr std::size_t kCurrentVisible = 87;
inline constexpr std::size_t kCapacityVisible = 91;
inline constexpr std::size_t kTemperatureVisible = 95;
inline constexpr std::size_t kVoltageLimitShown = 99;
inline constexpr std::size_t kVoltageLimit = 103;
inline constexpr std::size_t kReserved107 = 107;  // 4 x int32
inline constexpr std::size_t kCapacityLimitShown = 123;
inline constexpr std::size_t kCapacityLimit = 127;
inline constexpr std::size_t kReserved131 = 131;
inline constexpr std::size_t kTemperatureLimitShown = 135;
inline constexpr std::size_t kTemperatureLimit = 139;
inline constexpr std::size_t kReserved143 = 143;
inline constexpr std::size_t kTitle = 147;
inline constexpr std::size_t kReserved211 = 211;
inline constexpr std::size_t kVoltageMax = 215;
inline constexpr std::size_t kVoltageMin = 219;
inline constexpr std::size_t kReserved223 = 223;
inline constexpr std::size_t kCurrentMax = 227;
inline constexpr std::size_t kCurrentMin = 231;
inline constexpr std::size_t kReserved235 = 235;
inline constexpr std::size_t kCapacityMax = 239;
inline constexpr std::size_t kCapacityMin = 243;
inline constexpr std::size_t kReserved247 = 247;
inline constexpr std::size_t kTemperatureMax = 251;
inline constexpr std::size_t kTemperatureMin = 255;
inline constexpr std::size_t kCursorOn = 259;
inline constexpr std::size_t kSmoothing = 263;
inline constexpr std::size_t kReserved267 = 267;  // 1 byte
inline constexpr std::size_t kSampleCount = 268;
inline constexpr std::size_t kReserved272 = 272;  // 4 bytes
inline constexpr std::size_t kFahrenheit = 276;
}  // namespace cgm_offset

// 32-bit flags hold 0 or -1; any non-zero value reads as true.
inline constexpr std::int32_t kFlagOn = -1;
inline constexpr std::int32_t kFlagOff = 0;

[[nodiscard]] constexpr bool IsOn(std::int32_t flag) noexcept {
    return flag != 0;
}

// The fields of the header in image order, with the values of a newly created document.
struct CgmHeader {
    // Length byte, then up to 63 characters; the bytes behind them are kept as they stand.
    std::array<std::uint8_t, kShortTextBytes> FileMagic{};
    std::uint8_t Mode = 0;  // 1 discharge, 2 charge
    std::uint8_t BatteryType = 0;
    std::uint8_t Channel = 0;  // 0 = channel 1
    std::array<std::int32_t, 4> Reserved67{-1, -1, -1, -1};
    std::int32_t VoltageVisible = kFlagOn;
    std::int32_t CurrentVisible = kFlagOn;
    std::int32_t CapacityVisible = kFlagOn;
    std::int32_t TemperatureVisible = kFlagOn;
    std::int32_t VoltageLimitShown = kFlagOff;
    std::int32_t VoltageLimit = 0;  // 1/100 V, 0 = none
    std::array<std::int32_t, 4> Reserved107{};
    std::int32_t CapacityLimitShown = kFlagOff;
    std::int32_t CapacityLimit = 0;  // mAh, 0 = none
    std::int32_t Reserved131 = 0;
    std::int32_t TemperatureLimitShown = kFlagOff;
    std::int32_t TemperatureLimit = 0;  // degrees, 0 = none
    std::int32_t Reserved143 = 0;
    // Windows-1252 bytes, zero-terminated; the bytes behind the zero are kept as they stand.
    std::array<char, kShortTextBytes> Title{'N', 'e', 'w', ' ', 'G', 'r', 'a', 'p', 'h'};
    std::int32_t Reserved211 = 0;
    std::int32_t VoltageMax = 10;  // 1/100 V
    std::int32_t VoltageMin = 0;
    std::int32_t Reserved223 = 0;
    std::int32_t CurrentMax = 10;  // mA
    std::int32_t CurrentMin = 0;
    std::int32_t Reserved235 = 0;
    std::int32_t CapacityMax = 10;  // mAh
    std::int32_t CapacityMin = 0;
    std::int32_t Reserved247 = 0;
    std::int32_t TemperatureMax = 10;  // degrees
    std::int32_t TemperatureMin = 0;
    std::int32_t CursorOn = kFlagOff;
    std::int32_t Smoothing = kFlagOff;
    std::uint8_t Reserved267 = 0;
    std::int32_t SampleCount = 0;  // head node not counted
    std::array<std::uint8_t, 4> Reserved272{};
    std::uint8_t Fahrenheit = 0;  // 0/1

    friend bool operator==(const CgmHeader&, const CgmHeader&) = default;
};

using CgmHeaderImage = std::array<std::uint8_t, kCgmHeaderBytes>;

[[nodiscard]] CgmHeaderImage SerializeCgmHeader(const CgmHeader& header) noexcept;
[[nodiscard]] CgmHeader ParseCgmHeader(
    std::span<const std::uint8_t, kCgmHeaderBytes> image) noexcept;

// The bytes of a header that may be cut short replace the start of the header's image; the
// fields the bytes do not reach keep their values. Bytes beyond 277 are ignored.
void ApplyCgmHeaderBytes(CgmHeader& header, std::span<const std::uint8_t> bytes) noexcept;

// The characters the length byte announces, at most 63.
[[nodiscard]] std::string_view FileMagicText(const CgmHeader& header) noexcept;

// The title up to its first zero byte, at most 64 characters (a file may fill all 64).
[[nodiscard]] std::string_view TitleText(const CgmHeader& header) noexcept;

}  // namespace volt
