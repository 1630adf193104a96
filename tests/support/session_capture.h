#pragma once
// A realistic byte stream from a two-channel charger: a 3S LiPo charging on channel 1 while
// channel 2 stays idle, with line noise between frames and some payload bytes sent with bit 7
// set. resources/captures/two-channel-session.bin is this stream; volt_make_capture writes it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "monitor/channel_reading.h"

namespace volt::test {

inline constexpr std::size_t kSessionFrames = 30;
inline constexpr std::size_t kSessionFrameLength = 110;

// The two readings of frame `index` (0-based) of the session.
[[nodiscard]] std::array<ChannelReading, 2> SessionReadings(std::size_t index);

[[nodiscard]] std::vector<std::uint8_t> BuildTwoChannelSession();

}  // namespace volt::test
