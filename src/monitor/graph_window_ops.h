#pragma once
// The operations of one graph window that run tracking uses. The graph window implements them;
// tests use a fake. Texts are Windows-1252 bytes.

#include <cstdint>
#include <string>
#include <string_view>

#include "graph/sample_recording.h"

namespace volt {

class GraphWindowOps {
  public:
    virtual ~GraphWindowOps() = default;

    [[nodiscard]] virtual std::string Caption() const = 0;
    virtual void SetCaption(std::string_view caption) = 0;
    virtual void SetChartTitle(std::string_view title) = 0;
    // The document's Title, cut to 63 characters.
    virtual void SetTitle(std::string_view title) = 0;
    // The recording step of the window (volt::AppendSample on its GraphModel). False: the window
    // takes no more samples and has detached itself from the channels.
    [[nodiscard]] virtual bool AppendSample(std::uint8_t mode, const SampleReading& reading) = 0;
    virtual void SetRunInfo(int channel, std::uint8_t mode, std::uint8_t batteryType) = 0;
    virtual void SetLimits(std::int32_t voltageLimit, std::int32_t capacityLimit,
                           std::int32_t temperatureLimit, std::int32_t fourth) = 0;
    // Brings the window to the front and gives it the focus.
    virtual void BringToFront() = 0;
    // The window's activation handling: view buttons, graph commands, readout of its channel.
    virtual void FormActivate() = 0;
    // The document's BatteryType.
    [[nodiscard]] virtual std::uint8_t BatteryType() const = 0;
};

}  // namespace volt
