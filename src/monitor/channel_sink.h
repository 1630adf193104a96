#pragma once
// What the frame decoder drives: the per-channel state of the main window and its channel-2
// controls. Channels are 0 (channel 1) and 1 (channel 2).

#include <cstdint>

#include "monitor/channel_reading.h"

namespace volt {

class ChannelSink {
  public:
    virtual ~ChannelSink() = default;

    virtual void SetInputVoltages(std::int16_t channel1, std::int16_t channel2) = 0;
    // The stored input voltage of a channel; a single-channel frame passes channel 2's back
    // unchanged.
    [[nodiscard]] virtual std::int16_t InputVoltage(int channel) const = 0;
    virtual void UpdateChannelStatus(int channel, std::uint8_t Status, std::uint8_t BatteryType,
                                     std::int32_t Voltage, std::int32_t Current,
                                     std::int32_t Capacity, std::int32_t Temperature) = 0;
    virtual void UpdateChannelCells(int channel, const CellVoltages& cells) = 0;
    virtual void StoreChannelLimits(int channel, std::int16_t VoltageLimit,
                                    std::int32_t CapacityLimit, std::int16_t TemperatureLimit,
                                    std::int16_t ExtraLimit) = 0;
    // The channel-2 selector and status box: shown for the two-channel layout only.
    virtual void ShowChannel2(bool visible) = 0;
};

}  // namespace volt
