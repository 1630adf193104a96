#pragma once
// Frame bytes in, channel readings out: the layout is chosen by the length, bit 7 is stripped
// from the payload of a copy, and the values are read from the layout's fixed positions.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "monitor/channel_reading.h"
#include "monitor/frame_layout.h"

namespace volt {

struct DecodedFrame {
    FrameLayout Layout = FrameLayout::Ignored;
    std::size_t ChannelCount = 0;  // 2, 1, or 0 for an ignored or rejected frame
    std::array<ChannelReading, 2> Channels{};
};

// frame runs from the '{' to the '}' inclusive; it is not changed. A frame whose Status exceeds
// 3 or whose BatteryType exceeds 6 in any channel comes back Rejected with no channels, so such
// values never reach a table lookup.
[[nodiscard]] DecodedFrame DecodeFrameBytes(std::span<const std::uint8_t> frame,
                                            bool oldLayoutEnabled) noexcept;

}  // namespace volt
