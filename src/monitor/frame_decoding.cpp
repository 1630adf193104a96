#include "monitor/frame_decoding.h"

#include <algorithm>

namespace volt {
namespace {

using Work = std::array<std::uint8_t, kFrameWorkBytes>;

constexpr std::int32_t Pair(const Work& b, std::size_t p) noexcept {
    return b[p] * 100 + b[p + 1];
}

constexpr std::int32_t Triple(const Work& b, std::size_t p) noexcept {
    return b[p] * 10000 + b[p + 1] * 100 + b[p + 2];
}

// Every value is at most 127 x 100 + 127 (pair) or 1282827 (triple): the narrowing is exact.
constexpr std::int16_t Short(std::int32_t value) noexcept {
    return static_cast<std::int16_t>(value);
}

bool InModel(std::int32_t status, std::int32_t batteryType) noexcept {
    return status >= 0 && status <= kMaxStatus && batteryType >= 0 &&
           batteryType <= kMaxBatteryType;
}

bool ReadTwoChannel(const Work& b, std::size_t base, ChannelReading& out) noexcept {
    namespace pos = two_channel;
    const std::int32_t status = b[base + pos::kStatus];
    const std::int32_t batteryType = b[base + pos::kBatteryType];
    if (!InModel(status, batteryType)) {
        return false;
    }
    out.Status = static_cast<std::uint8_t>(status);
    out.BatteryType = static_cast<std::uint8_t>(batteryType);
    out.InputVoltage = Short(Pair(b, base + pos::kInputVoltage));
    out.Capacity = Triple(b, base + pos::kCapacity);
    out.Current = Pair(b, base + pos::kCurrent);
    out.Voltage = Pair(b, base + pos::kVoltage);
    out.Temperature = Pair(b, base + pos::kTemperature);
    for (std::size_t cell = 0; cell < kCellCount; ++cell) {
        out.Cells[cell] = Short(Pair(b, base + pos::kCells[cell]));
    }
    out.TemperatureLimit = Short(b[base + pos::kTemperatureLimit]);
    out.ExtraLimit = Short(Pair(b, base + pos::kExtraLimit));
    out.CapacityLimit = Triple(b, base + pos::kCapacityLimit);
    out.VoltageLimit = Short(Pair(b, base + pos::kVoltageLimit));
    return true;
}

bool ReadSingleChannel(const Work& b, ChannelReading& out) noexcept {
    namespace pos = single_channel;
    // The product reaches 16256, far outside the model, on a garbled frame.
    const std::int32_t status = (b[pos::kStatusBase] + 1) * b[pos::kStatusFactor];
    const std::int32_t batteryType = b[pos::kBatteryType];
    if (!InModel(status, batteryType)) {
        return false;
    }
    out.Status = static_cast<std::uint8_t>(status);
    out.BatteryType = static_cast<std::uint8_t>(batteryType);
    out.Current = Pair(b, pos::kCurrent);
    out.Voltage = Pair(b, pos::kVoltage);
    out.Temperature = Pair(b, pos::kTemperature);
    out.InputVoltage = Short(Pair(b, pos::kInputVoltage));
    out.Capacity = Pair(b, pos::kCapacity);
    for (std::size_t cell = 0; cell < kCellCount; ++cell) {
        out.Cells[cell] = Short(Pair(b, pos::kFirstCell + 2 * cell));
    }
    out.TemperatureLimit = Short(b[pos::kTemperatureLimit]);
    out.CapacityLimit = Pair(b, pos::kCapacityLimit);
    out.ExtraLimit = 0;
    out.VoltageLimit = 0;
    return true;
}

}  // namespace

DecodedFrame DecodeFrameBytes(std::span<const std::uint8_t> frame, bool oldLayoutEnabled) noexcept {
    DecodedFrame result;
    result.Layout = SelectFrameLayout(frame.size(), oldLayoutEnabled);
    if (result.Layout == FrameLayout::Ignored) {
        return result;
    }
    // The framing never delivers more than 1024 bytes; of a longer frame only the first 1024 are
    // looked at, which holds every position either layout reads.
    Work work;
    const std::size_t copied = std::min(frame.size(), work.size());
    std::copy_n(frame.begin(), copied, work.begin());
    const std::size_t maskEnd = std::min(frame.size() - kUnmaskedTailBytes, copied);
    for (std::size_t i = 1; i < maskEnd; ++i) {
        work[i] &= kPayloadMask;
    }

    bool ok = false;
    if (result.Layout == FrameLayout::TwoChannel) {
        ok = ReadTwoChannel(work, 0, result.Channels[0]) &&
             ReadTwoChannel(work, two_channel::kStride, result.Channels[1]);
        result.ChannelCount = 2;
    } else {
        ok = ReadSingleChannel(work, result.Channels[0]);
        result.ChannelCount = 1;
    }
    if (!ok) {
        result = DecodedFrame{};
        result.Layout = FrameLayout::Rejected;
    }
    return result;
}

}  // namespace volt
