#pragma once
// The texts of a run's graph window: its title, built when the run starts, and the caption
// marking "[ END ]" when it ends. Texts are Windows-1252 bytes.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/local_clock.h"

namespace volt {

inline constexpr std::string_view kLiveCaptionSuffix = " (>> Live <<)";
inline constexpr std::string_view kEndMarker = "[ END ]";

// Day "/" month " " hour ":" minute, for example 05/Mar 09:07; no year, no seconds.
[[nodiscard]] std::string RunDateText(const LocalDateTime& now);

// "Discharge[Ch" (status 1) or "Charge[Ch" (status 2), the channel number (channel + 1), ",",
// the battery type name, "]  " and the date text.
[[nodiscard]] std::string RunTitle(std::uint8_t status, int channel,
                                   std::string_view batteryTypeName, std::string_view dateText);

// The caption cut before its last '(' (the whole caption when there is none), then "[ END ]".
[[nodiscard]] std::string EndTitle(std::string_view caption);

}  // namespace volt
