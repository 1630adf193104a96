#pragma once
// The two frame layouts of the charger: which length selects which, and where each value sits.
// Positions count from the '{' at position 0. A pair p,q reads value(p) x 100 + value(q), a
// triple p,q,r value(p) x 10000 + value(q) x 100 + value(r), always on bytes with bit 7 cleared.

#include <array>
#include <cstddef>
#include <cstdint>

#include "monitor/channel_reading.h"

namespace volt {

enum class FrameLayout : std::uint8_t {
    Ignored,        // a length of neither layout
    TwoChannel,     // longer than 108 bytes
    SingleChannel,  // exactly 76 bytes, only while the old layout is enabled
    Rejected,       // a known layout carrying a Status or BatteryType outside the model
};

inline constexpr std::size_t kShortestTwoChannelFrame = 109;  // bytes, delimiters included
inline constexpr std::size_t kSingleChannelFrame = 76;        // bytes, delimiters included
inline constexpr std::size_t kFrameWorkBytes = 1024;          // the decoder's work buffer
inline constexpr std::uint8_t kPayloadMask = 0x7F;

// Bit 7 is cleared on positions 1 .. length - 3; position 0 and the last two keep their value.
inline constexpr std::size_t kUnmaskedTailBytes = 2;

[[nodiscard]] constexpr FrameLayout SelectFrameLayout(std::size_t length,
                                                      bool oldLayoutEnabled) noexcept {
    if (length >= kShortestTwoChannelFrame) {
        return FrameLayout::TwoChannel;
    }
    if (length == kSingleChannelFrame && oldLayoutEnabled) {
        return FrameLayout::SingleChannel;
    }
    return FrameLayout::Ignored;
}

// Two-channel layout: channel 1 at these positions, channel 2 kStride bytes later.
// Positions 3, 9, 10, 13, 14, 35, 36, 53 and 54 (and their channel-2 twins) are not read.
namespace two_channel {
inline constexpr std::size_t kStride = 54;
inline constexpr std::size_t kStatus = 1;        // byte
inline constexpr std::size_t kBatteryType = 2;   // byte
inline constexpr std::size_t kInputVoltage = 4;  // pair
inline constexpr std::size_t kCapacity = 6;      // triple
inline constexpr std::size_t kCurrent = 11;      // pair
inline constexpr std::size_t kVoltage = 15;      // pair
inline constexpr std::size_t kTemperature = 17;  // pair
inline constexpr std::array<std::size_t, kCellCount> kCells = {19, 21, 23, 25, 27, 29,
                                                               31, 33, 37, 39, 41, 43};  // pairs
inline constexpr std::size_t kTemperatureLimit = 45;                                     // byte
inline constexpr std::size_t kExtraLimit = 46;                                           // pair
inline constexpr std::size_t kCapacityLimit = 48;                                        // triple
inline constexpr std::size_t kVoltageLimit = 51;                                         // pair
}  // namespace two_channel

// Single-channel layout: one channel; it carries neither ExtraLimit nor VoltageLimit.
namespace single_channel {
inline constexpr std::size_t kStatusBase = 8;  // Status = (value(8) + 1) x value(24)
inline constexpr std::size_t kStatusFactor = 24;
inline constexpr std::size_t kBatteryType = 23;      // byte
inline constexpr std::size_t kTemperatureLimit = 4;  // byte
inline constexpr std::size_t kCapacityLimit = 31;    // pair
inline constexpr std::size_t kCurrent = 33;          // pair
inline constexpr std::size_t kVoltage = 35;          // pair
inline constexpr std::size_t kTemperature = 37;      // pair
inline constexpr std::size_t kInputVoltage = 41;     // pair
inline constexpr std::size_t kCapacity = 43;         // pair, so at most 12827 mAh
inline constexpr std::size_t kFirstCell = 45;        // cells 1..12 as pairs at 45, 47 .. 67
}  // namespace single_channel

}  // namespace volt
