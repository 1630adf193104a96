#include "monitor/frame_encoder.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "monitor/frame_layout.h"

namespace volt {
namespace {

constexpr std::int32_t kByteMax = 127;
constexpr std::int32_t kPairMax = kByteMax * 100 + kByteMax;
constexpr std::int32_t kTripleMax = kByteMax * 10000 + kByteMax * 100 + kByteMax;

void CheckRange(std::int32_t value, std::int32_t max, const char* field) {
    if (value < 0 || value > max) {
        throw std::out_of_range(std::string(field) + " " + std::to_string(value) +
                                " does not fit the frame");
    }
}

// The low bytes stay below 100 where they can; only values above what a top byte of 127 reaches
// that way (12700 and up for a pair) carry more than 99 in a low byte.
void PutPair(std::vector<std::uint8_t>& f, std::size_t p, std::int32_t v, const char* field) {
    CheckRange(v, kPairMax, field);
    const std::int32_t high = std::min(v / 100, kByteMax);
    f[p] = static_cast<std::uint8_t>(high);
    f[p + 1] = static_cast<std::uint8_t>(v - high * 100);
}

void PutTriple(std::vector<std::uint8_t>& f, std::size_t p, std::int32_t v, const char* field) {
    CheckRange(v, kTripleMax, field);
    const std::int32_t high = std::min(v / 10000, kByteMax);
    f[p] = static_cast<std::uint8_t>(high);
    PutPair(f, p + 1, v - high * 10000, field);
}

void PutByte(std::vector<std::uint8_t>& f, std::size_t p, std::int32_t v, const char* field) {
    CheckRange(v, kByteMax, field);
    f[p] = static_cast<std::uint8_t>(v);
}

void CheckModel(const ChannelReading& r) {
    CheckRange(r.Status, kMaxStatus, "Status");
    CheckRange(r.BatteryType, kMaxBatteryType, "BatteryType");
}

std::vector<std::uint8_t> EmptyFrame(std::size_t length) {
    std::vector<std::uint8_t> frame(length, 0);
    frame.front() = '{';
    frame.back() = '}';
    return frame;
}

void SetHighBits(std::vector<std::uint8_t>& frame, std::size_t every) {
    const std::size_t end = frame.size() - kUnmaskedTailBytes;
    for (std::size_t p = 1; p < end; ++p) {
        const bool brace = frame[p] == '{' || frame[p] == '}';
        if (brace || (every != 0 && (p - 1) % every == 0)) {
            frame[p] |= static_cast<std::uint8_t>(~kPayloadMask);
        }
    }
}

void PutTwoChannel(std::vector<std::uint8_t>& f, std::size_t base, const ChannelReading& r) {
    namespace pos = two_channel;
    CheckModel(r);
    PutByte(f, base + pos::kStatus, r.Status, "Status");
    PutByte(f, base + pos::kBatteryType, r.BatteryType, "BatteryType");
    PutPair(f, base + pos::kInputVoltage, r.InputVoltage, "InputVoltage");
    PutTriple(f, base + pos::kCapacity, r.Capacity, "Capacity");
    PutPair(f, base + pos::kCurrent, r.Current, "Current");
    PutPair(f, base + pos::kVoltage, r.Voltage, "Voltage");
    PutPair(f, base + pos::kTemperature, r.Temperature, "Temperature");
    for (std::size_t cell = 0; cell < kCellCount; ++cell) {
        PutPair(f, base + pos::kCells[cell], r.Cells[cell], "Cells");
    }
    PutByte(f, base + pos::kTemperatureLimit, r.TemperatureLimit, "TemperatureLimit");
    PutPair(f, base + pos::kExtraLimit, r.ExtraLimit, "ExtraLimit");
    PutTriple(f, base + pos::kCapacityLimit, r.CapacityLimit, "CapacityLimit");
    PutPair(f, base + pos::kVoltageLimit, r.VoltageLimit, "VoltageLimit");
}

}  // namespace

std::vector<std::uint8_t> EncodeTwoChannelFrame(const ChannelReading& channel1,
                                                const ChannelReading& channel2,
                                                const FrameEncodeOptions& options) {
    if (options.Length < kShortestTwoChannelFrame || options.Length > kFrameWorkBytes) {
        throw std::out_of_range("two-channel frame length " + std::to_string(options.Length));
    }
    std::vector<std::uint8_t> frame = EmptyFrame(options.Length);
    PutTwoChannel(frame, 0, channel1);
    PutTwoChannel(frame, two_channel::kStride, channel2);
    SetHighBits(frame, options.HighBitEvery);
    return frame;
}

std::vector<std::uint8_t> EncodeSingleChannelFrame(const ChannelReading& r,
                                                   const FrameEncodeOptions& options) {
    namespace pos = single_channel;
    CheckModel(r);
    std::vector<std::uint8_t> frame = EmptyFrame(kSingleChannelFrame);
    // Status = (value(8) + 1) x value(24): a factor of 1 with base Status - 1 keeps every
    // state, idle included, on the two bytes.
    frame[pos::kStatusBase] = r.Status == 0 ? 0 : static_cast<std::uint8_t>(r.Status - 1);
    frame[pos::kStatusFactor] = r.Status == 0 ? 0 : 1;
    PutByte(frame, pos::kBatteryType, r.BatteryType, "BatteryType");
    PutByte(frame, pos::kTemperatureLimit, r.TemperatureLimit, "TemperatureLimit");
    PutPair(frame, pos::kCapacityLimit, r.CapacityLimit, "CapacityLimit");
    PutPair(frame, pos::kCurrent, r.Current, "Current");
    PutPair(frame, pos::kVoltage, r.Voltage, "Voltage");
    PutPair(frame, pos::kTemperature, r.Temperature, "Temperature");
    PutPair(frame, pos::kInputVoltage, r.InputVoltage, "InputVoltage");
    PutPair(frame, pos::kCapacity, r.Capacity, "Capacity");
    for (std::size_t cell = 0; cell < kCellCount; ++cell) {
        PutPair(frame, pos::kFirstCell + 2 * cell, r.Cells[cell], "Cells");
    }
    SetHighBits(frame, options.HighBitEvery);
    return frame;
}

}  // namespace volt
