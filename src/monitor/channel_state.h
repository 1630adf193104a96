#pragma once
// What the main window keeps of one charger channel between frames and ticks.

#include <cstdint>

#include "common/cell_count.h"
#include "graph/cgm_header.h"
#include "monitor/channel_reading.h"

namespace volt {

class GraphWindowOps;

inline constexpr int kChannelCount = 2;

struct ChannelState {
    std::int32_t Recording = kFlagOff;  // 0 / -1: a run is in progress
    std::int32_t ElapsedSeconds = 0;    // recording ticks since the channel last reported idle
    std::uint8_t PreviousStatus = 0;
    std::uint8_t Status = 0;  // 0 idle, 1 discharge, 2 charge, 3 fourth state
    std::uint8_t BatteryType = 0;
    std::int32_t Voltage = 0;      // 1/100 V
    std::int32_t Current = 0;      // 1/100 A
    std::int32_t Capacity = 0;     // mAh
    std::int32_t Temperature = 0;  // degrees; 1000 or more: Fahrenheit
    CellVoltages Cells{};          // 1/100 V
    std::int16_t TemperatureLimit = 0;
    std::int16_t ExtraLimit = 0;
    std::int32_t CapacityLimit = 0;
    std::int16_t VoltageLimit = 0;
    // The window of the current or last run; the window clears it when it is destroyed or stops
    // taking samples. Not owned.
    GraphWindowOps* Graph = nullptr;
};

}  // namespace volt
