#pragma once
// Mode and BatteryType index the status and battery-name tables. A recorded run keeps them in
// range; a damaged run file can carry any byte, and the commands that name a run refuse it
// rather than reach past a table.

#include <cstdint>
#include <optional>
#include <string>

#include "graph/cgm_header.h"

namespace volt {

inline constexpr std::uint8_t kMaxMode = 3;         // 0 none, 1 discharge, 2 charge, 3 other
inline constexpr std::uint8_t kMaxBatteryType = 6;  // entries 0..6 of BatteryTypeNames

// The error text for a BatteryType beyond the table; nothing when it is in range.
[[nodiscard]] std::optional<std::string> BatteryTypeError(const CgmHeader& header);

// The error text for a Mode beyond the status table; nothing when it is in range.
[[nodiscard]] std::optional<std::string> ModeError(const CgmHeader& header);

}  // namespace volt
