#pragma once
// A ChannelSink that records every call in order and keeps what a channel would hold.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "monitor/channel_reading.h"
#include "monitor/channel_sink.h"

namespace volt::test {

class RecordingChannelSink : public ChannelSink {
  public:
    void SetInputVoltages(std::int16_t channel1, std::int16_t channel2) override {
        Calls.push_back("SetInputVoltages(" + std::to_string(channel1) + "," +
                        std::to_string(channel2) + ")");
        InputVoltages = {channel1, channel2};
    }
    [[nodiscard]] std::int16_t InputVoltage(int channel) const override {
        return InputVoltages.at(static_cast<std::size_t>(channel));
    }
    void UpdateChannelStatus(int channel, std::uint8_t Status, std::uint8_t BatteryType,
                             std::int32_t Voltage, std::int32_t Current, std::int32_t Capacity,
                             std::int32_t Temperature) override {
        Calls.push_back("UpdateChannelStatus(" + std::to_string(channel) + ")");
        ChannelReading& r = Readings.at(static_cast<std::size_t>(channel));
        r.Status = Status;
        r.BatteryType = BatteryType;
        r.Voltage = Voltage;
        r.Current = Current;
        r.Capacity = Capacity;
        r.Temperature = Temperature;
    }
    void UpdateChannelCells(int channel, const CellVoltages& cells) override {
        Calls.push_back("UpdateChannelCells(" + std::to_string(channel) + ")");
        Readings.at(static_cast<std::size_t>(channel)).Cells = cells;
    }
    void StoreChannelLimits(int channel, std::int16_t VoltageLimit, std::int32_t CapacityLimit,
                            std::int16_t TemperatureLimit, std::int16_t ExtraLimit) override {
        Calls.push_back("StoreChannelLimits(" + std::to_string(channel) + ")");
        ChannelReading& r = Readings.at(static_cast<std::size_t>(channel));
        r.VoltageLimit = VoltageLimit;
        r.CapacityLimit = CapacityLimit;
        r.TemperatureLimit = TemperatureLimit;
        r.ExtraLimit = ExtraLimit;
    }
    void ShowChannel2(bool visible) override {
        Calls.push_back(visible ? "ShowChannel2(true)" : "ShowChannel2(false)");
    }

    // The reading of a channel as the calls left it, InputVoltage included.
    [[nodiscard]] ChannelReading Reading(int channel) const {
        ChannelReading r = Readings.at(static_cast<std::size_t>(channel));
        r.InputVoltage = InputVoltage(channel);
        return r;
    }

    std::vector<std::string> Calls;
    std::array<std::int16_t, 2> InputVoltages{};
    std::array<ChannelReading, 2> Readings{};
};

}  // namespace volt::test
