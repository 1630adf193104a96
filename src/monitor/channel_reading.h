#pragma once
// The values of one charger channel as one frame reports them.

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/cell_count.h"

namespace volt {

using CellVoltages = std::array<std::int16_t, kCellCount>;  // 1/100 V, cell 1 first

inline constexpr std::uint8_t kMaxStatus = 3;       // 0 idle, 1 discharge, 2 charge, 3 shown only
inline constexpr std::uint8_t kMaxBatteryType = 6;  // index into BatteryTypeNames

struct ChannelReading {
    std::uint8_t Status = 0;
    std::uint8_t BatteryType = 0;
    std::int32_t Voltage = 0;      // 1/100 V
    std::int32_t Current = 0;      // 1/100 A
    std::int32_t Capacity = 0;     // mAh
    std::int32_t Temperature = 0;  // whole degrees; 1000 or more: Fahrenheit, value mod 1000
    CellVoltages Cells{};
    std::int16_t InputVoltage = 0;      // 1/100 V
    std::int16_t TemperatureLimit = 0;  // whole degrees
    std::int16_t ExtraLimit = 0;        // carried along, never shown
    std::int32_t CapacityLimit = 0;     // mAh
    std::int16_t VoltageLimit = 0;      // 1/100 V

    friend bool operator==(const ChannelReading&, const ChannelReading&) = default;
};

}  // namespace volt
