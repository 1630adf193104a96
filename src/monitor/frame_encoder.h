#pragma once
// Builds charger frames from readings, byte for byte at the positions the decoder reads: for
// tests, the capture generator and the charger simulator. Positions no field uses are 0.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "monitor/channel_reading.h"

namespace volt {

struct FrameEncodeOptions {
    // Two-channel frames only: 109 to 1024 bytes, delimiters included.
    std::size_t Length = 110;
    // Sets bit 7 on every HighBitEvery-th payload byte (positions 1 .. length - 3, counted from
    // position 1); 0 sets it on none. The decoder strips it, so the values do not change.
    std::size_t HighBitEvery = 0;
};

// A payload byte that would read as '{' or '}' always goes out with bit 7 set, so the framing
// never cuts a frame short. Throws std::out_of_range when a value cannot be carried: Status
// above 3, BatteryType above 6, a negative value, or one above what its bytes hold (pair 12827,
// triple 1282827, single byte 127).
[[nodiscard]] std::vector<std::uint8_t> EncodeTwoChannelFrame(
    const ChannelReading& channel1, const ChannelReading& channel2,
    const FrameEncodeOptions& options = {});

// 76 bytes. Capacity and CapacityLimit are pairs here; ExtraLimit and VoltageLimit are not
// carried and are left out. Options.Length is not used.
[[nodiscard]] std::vector<std::uint8_t> EncodeSingleChannelFrame(
    const ChannelReading& channel, const FrameEncodeOptions& options = {});

}  // namespace volt
