#include "sim_frames.h"

#include <algorithm>
#include <cmath>

#include "link/frame_scanner.h"
#include "monitor/frame_encoder.h"

namespace volt::sim {
namespace {

constexpr int kMaxPair = 127 * 100 + 127;  // what two payload bytes carry
constexpr std::size_t kBit7Every = 3;
constexpr std::uint32_t kMaxStrayBytes = 6;
constexpr int kFahrenheitFlag = 1000;

int Pair(int value) {
    return std::clamp(value, 0, kMaxPair);
}

}  // namespace

ChannelReading ToReading(const ChannelMeasurement& m, bool fahrenheit) {
    ChannelReading r;
    r.Status = static_cast<std::uint8_t>(m.Status);
    r.BatteryType = static_cast<std::uint8_t>(m.BatteryType);
    r.Voltage = Pair(m.Voltage);
    r.Current = Pair(m.Current);
    r.Capacity = Pair(m.Capacity);
    r.Temperature = fahrenheit ? kFahrenheitFlag +
                                     static_cast<int>(std::lround(m.TemperatureC * 9.0 / 5.0 + 32))
                               : Pair(m.TemperatureC);
    for (std::size_t i = 0; i < r.Cells.size(); ++i) {
        r.Cells[i] = static_cast<std::int16_t>(Pair(m.Cells[i]));
    }
    r.InputVoltage = static_cast<std::int16_t>(Pair(m.InputVoltage));
    r.VoltageLimit = static_cast<std::int16_t>(Pair(m.VoltageLimit));
    r.CapacityLimit = Pair(m.CapacityLimit);
    r.TemperatureLimit = static_cast<std::int16_t>(std::clamp(m.TemperatureLimit, 0, 127));
    return r;
}

FrameSource::FrameSource(const SimOptions& options)
    : options_(options), scenario_(options.Scenario, options.Seed), stray_(options.Seed + 1) {}

SimFrame FrameSource::Next() {
    const double wallSeconds = static_cast<double>(k_) * options_.IntervalMs / 1000.0;
    ++k_;
    scenario_.AdvanceTo(wallSeconds * options_.Speed);
    const ChargerMeasurement m = scenario_.Measure();

    SimFrame frame;
    for (std::size_t c = 0; c < 2; ++c) {
        frame.Readings[c] = ToReading(m[c], options_.Fahrenheit);
    }
    if (options_.Status3At && wallSeconds >= *options_.Status3At) {
        frame.Readings[0].Status = 3;
    }

    if (options_.Noise) {
        const std::uint32_t count = 1 + stray_() % kMaxStrayBytes;
        for (std::uint32_t i = 0; i < count; ++i) {
            auto byte = static_cast<std::uint8_t>(stray_());
            // A stray brace would open or close a frame: bytes between frames carry none.
            if (byte == FrameScanner::kFrameStart || byte == FrameScanner::kFrameEnd) {
                byte = '.';
            }
            frame.Bytes.push_back(byte);
        }
    }
    FrameEncodeOptions encode;
    encode.HighBitEvery = options_.Bit7 ? kBit7Every : 0;
    const std::vector<std::uint8_t> bytes =
        options_.Layout == FrameLayoutChoice::Single
            ? EncodeSingleChannelFrame(frame.Readings[0], encode)
            : EncodeTwoChannelFrame(frame.Readings[0], frame.Readings[1], encode);
    frame.Bytes.insert(frame.Bytes.end(), bytes.begin(), bytes.end());
    return frame;
}

}  // namespace volt::sim
