#include "support/session_capture.h"

#include <array>

#include "monitor/frame_encoder.h"

namespace volt::test {
namespace {

constexpr std::uint8_t kStatusIdle = 0;
constexpr std::uint8_t kStatusCharge = 2;
constexpr std::uint8_t kLiPo = 1;
constexpr std::size_t kIdleFramesFirst = 2;      // the charge starts with the third frame
constexpr std::int16_t kSupplyVoltage = 1518;    // 1/100 V
constexpr std::int32_t kChargeCurrent = 150;     // 1/100 A
constexpr std::int32_t kStartCellVoltage = 381;  // 1/100 V

// A fixed linear congruential sequence, so the capture is the same on every machine.
class Noise {
  public:
    std::uint32_t Next() noexcept {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }

  private:
    std::uint32_t state_ = 20240611u;
};

}  // namespace

std::array<ChannelReading, 2> SessionReadings(std::size_t index) {
    ChannelReading ch1;
    ch1.BatteryType = kLiPo;
    ch1.InputVoltage = kSupplyVoltage;
    ch1.TemperatureLimit = 50;
    ch1.ExtraLimit = 120;
    ch1.CapacityLimit = 2200;
    ch1.VoltageLimit = 1260;
    if (index >= kIdleFramesFirst) {
        const auto t = static_cast<std::int32_t>(index - kIdleFramesFirst);
        ch1.Status = kStatusCharge;
        ch1.Current = kChargeCurrent;
        ch1.Capacity = 4 * t + 1;       // 1.5 A for about 10 s per frame
        ch1.Temperature = 24 + t / 10;  // degrees Celsius
        // The three cells drift up a little unevenly; the pack voltage is their sum.
        ch1.Cells[0] = static_cast<std::int16_t>(kStartCellVoltage + t);
        ch1.Cells[1] = static_cast<std::int16_t>(kStartCellVoltage + 1 + t);
        ch1.Cells[2] = static_cast<std::int16_t>(kStartCellVoltage - 1 + t + t / 7);
        ch1.Voltage = ch1.Cells[0] + ch1.Cells[1] + ch1.Cells[2];
    }
    ChannelReading ch2;
    ch2.InputVoltage = kSupplyVoltage;
    return {ch1, ch2};
}

std::vector<std::uint8_t> BuildTwoChannelSession() {
    Noise noise;
    std::vector<std::uint8_t> stream;
    for (std::size_t i = 0; i < kSessionFrames; ++i) {
        // Up to three noise bytes before a frame; never a brace, which would start a frame.
        const std::uint32_t count = noise.Next() % 4;
        for (std::uint32_t n = 0; n < count; ++n) {
            auto byte = static_cast<std::uint8_t>(noise.Next());
            if (byte == '{' || byte == '}') {
                byte = 0;
            }
            stream.push_back(byte);
        }
        const auto [ch1, ch2] = SessionReadings(i);
        FrameEncodeOptions options;
        options.Length = kSessionFrameLength;
        options.HighBitEvery = i % 3 == 1 ? 5 : 0;  // every third frame carries bit-7 bytes
        const std::vector<std::uint8_t> frame = EncodeTwoChannelFrame(ch1, ch2, options);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    return stream;
}

}  // namespace volt::test
