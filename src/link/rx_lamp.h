#pragma once
// The receive lamp inside the LINK lamp: a receive event sets the countdown to 52, the main
// window's 10-ms tick counts it down and recolours the lamp at three points of the count.

#include <cstdint>
#include <optional>

namespace volt {

// Colours in the colour scheme's 0x00BBGGRR encoding, so the window converts them like any entry.
inline constexpr std::uint32_t kRxLedYellow = 0x0000FFFF;  // RGB FFFF00
inline constexpr std::uint32_t kRxLedGreen = 0x00008000;   // RGB 008000
inline constexpr std::uint32_t kRxLedGrey = 0x00808080;    // RGB 808080

// Value of the countdown when the main window is created: the lamp turns grey after 50 ms.
inline constexpr std::int32_t kRxLedInitialCountdown = 5;

// One 10-ms tick: counts RxLedCountdown down while it is above 0 and returns the lamp's new
// colour: yellow above 50, green at 20, grey at 0; nothing for every other value.
[[nodiscard]] std::optional<std::uint32_t> RxLedTick(std::int32_t& RxLedCountdown) noexcept;

}  // namespace volt
