#pragma once
// Turns the scenario's measurements into the byte stream the charger sends: one frame per
// interval, with the faults and habits the command line asks for.

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "monitor/channel_reading.h"
#include "scenario.h"
#include "sim_options.h"

namespace volt::sim {

struct SimFrame {
    std::array<ChannelReading, 2> Readings{};  // what the frame carries (channel 2 unused
                                               // in the single-channel layout)
    std::vector<std::uint8_t> Bytes;           // stray bytes first when --noise, then the frame
};

class FrameSource {
  public:
    explicit FrameSource(const SimOptions& options);

    // The frame sent k intervals after the start. k counts up by one from 0; the scenario runs
    // on while the device is unplugged, so frames that are not sent are still made.
    [[nodiscard]] SimFrame Next();

  private:
    SimOptions options_;
    Scenario scenario_;
    std::mt19937 stray_;
    std::uint64_t k_ = 0;
};

// A measurement as the frame fields carry it; fahrenheit reports 1000 + degrees F.
[[nodiscard]] ChannelReading ToReading(const ChannelMeasurement& m, bool fahrenheit);

}  // namespace volt::sim
