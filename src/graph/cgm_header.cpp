#include "graph/cgm_header.h"

#include <algorithm>
#include <cstring>

#include "common/byte_order.h"

namespace volt {
namespace {

namespace off = cgm_offset;

template <std::size_t N>
void WriteGroup(std::span<std::uint8_t> image, std::size_t offset,
                const std::array<std::int32_t, N>& values) noexcept {
    for (std::size_t i = 0; i < N; ++i) {
        WriteLe32(image, offset + 4 * i, values[i]);
    }
}

template <std::size_t N>
void ReadGroup(std::span<const std::uint8_t> image, std::size_t offset,
               std::array<std::int32_t, N>& values) noexcept {
    for (std::size_t i = 0; i < N; ++i) {
        values[i] = ReadLe32(image, offset + 4 * i);
    }
}

}  // namespace

CgmHeaderImage SerializeCgmHeader(const CgmHeader& h) noexcept {
    CgmHeaderImage image{};
    const std::span<std::uint8_t> out(image);
    std::copy(h.FileMagic.begin(), h.FileMagic.end(), image.begin() + off::kFileMagic);
    image[off::kMode] = h.Mode;
    image[off::kBatteryType] = h.BatteryType;
    image[off::kChannel] = h.Channel;
    WriteGroup(out, off::kReserved67, h.Reserved67);
    WriteLe32(out, off::kVoltageVisible, h.VoltageVisible);
    WriteLe32(out, off::kCurrentVisible, h.CurrentVisible);
    WriteLe32(out, off::kCapacityVisible, h.CapacityVisible);
    WriteLe32(out, off::kTemperatureVisible, h.TemperatureVisible);
    WriteLe32(out, off::kVoltageLimitShown, h.VoltageLimitShown);
    WriteLe32(out, off::kVoltageLimit, h.VoltageLimit);
    WriteGroup(out, off::kReserved107, h.Reserved107);
    WriteLe32(out, off::kCapacityLimitShown, h.CapacityLimitShown);
    WriteLe32(out, off::kCapacityLimit, h.CapacityLimit);
    WriteLe32(out, off::kReserved131, h.Reserved131);
    WriteLe32(out, off::kTemperatureLimitShown, h.TemperatureLimitShown);
    WriteLe32(out, off::kTemperatureLimit, h.TemperatureLimit);
    WriteLe32(out, off::kReserved143, h.Reserved143);
    std::memcpy(image.data() + off::kTitle, h.Title.data(), kShortTextBytes);
    WriteLe32(out, off::kReserved211, h.Reserved211);
    WriteLe32(out, off::kVoltageMax, h.VoltageMax);
    WriteLe32(out, off::kVoltageMin, h.VoltageMin);
    WriteLe32(out, off::kReserved223, h.Reserved223);
    WriteLe32(out, off::kCurrentMax, h.CurrentMax);
    WriteLe32(out, off::kCurrentMin, h.CurrentMin);
    WriteLe32(out, off::kReserved235, h.Reserved235);
    WriteLe32(out, off::kCapacityMax, h.CapacityMax);
    WriteLe32(out, off::kCapacityMin, h.CapacityMin);
    WriteLe32(out, off::kReserved247, h.Reserved247);
    WriteLe32(out, off::kTemperatureMax, h.TemperatureMax);
    WriteLe32(out, off::kTemperatureMin, h.TemperatureMin);
    WriteLe32(out, off::kCursorOn, h.CursorOn);
    WriteLe32(out, off::kSmoothing, h.Smoothing);
    image[off::kReserved267] = h.Reserved267;
    WriteLe32(out, off::kSampleCount, h.SampleCount);
    std::copy(h.Reserved272.begin(), h.Reserved272.end(), image.begin() + off::kReserved272);
    image[off::kFahrenheit] = h.Fahrenheit;
    return image;
}

CgmHeader ParseCgmHeader(std::span<const std::uint8_t, kCgmHeaderBytes> image) noexcept {
    const std::span<const std::uint8_t> in(image);
    CgmHeader h;
    std::copy_n(in.begin() + off::kFileMagic, kShortTextBytes, h.FileMagic.begin());
    h.Mode = in[off::kMode];
    h.BatteryType = in[off::kBatteryType];
    h.Channel = in[off::kChannel];
    ReadGroup(in, off::kReserved67, h.Reserved67);
    h.VoltageVisible = ReadLe32(in, off::kVoltageVisible);
    h.CurrentVisible = ReadLe32(in, off::kCurrentVisible);
    h.CapacityVisible = ReadLe32(in, off::kCapacityVisible);
    h.TemperatureVisible = ReadLe32(in, off::kTemperatureVisible);
    h.VoltageLimitShown = ReadLe32(in, off::kVoltageLimitShown);
    h.VoltageLimit = ReadLe32(in, off::kVoltageLimit);
    ReadGroup(in, off::kReserved107, h.Reserved107);
    h.CapacityLimitShown = ReadLe32(in, off::kCapacityLimitShown);
    h.CapacityLimit = ReadLe32(in, off::kCapacityLimit);
    h.Reserved131 = ReadLe32(in, off::kReserved131);
    h.TemperatureLimitShown = ReadLe32(in, off::kTemperatureLimitShown);
    h.TemperatureLimit = ReadLe32(in, off::kTemperatureLimit);
    h.Reserved143 = ReadLe32(in, off::kReserved143);
    std::memcpy(h.Title.data(), in.data() + off::kTitle, kShortTextBytes);
    h.Reserved211 = ReadLe32(in, off::kReserved211);
    h.VoltageMax = ReadLe32(in, off::kVoltageMax);
    h.VoltageMin = ReadLe32(in, off::kVoltageMin);
    h.Reserved223 = ReadLe32(in, off::kReserved223);
    h.CurrentMax = ReadLe32(in, off::kCurrentMax);
    h.CurrentMin = ReadLe32(in, off::kCurrentMin);
    h.Reserved235 = ReadLe32(in, off::kReserved235);
    h.CapacityMax = ReadLe32(in, off::kCapacityMax);
    h.CapacityMin = ReadLe32(in, off::kCapacityMin);
    h.Reserved247 = ReadLe32(in, off::kReserved247);
    h.TemperatureMax = ReadLe32(in, off::kTemperatureMax);
    h.TemperatureMin = ReadLe32(in, off::kTemperatureMin);
    h.CursorOn = ReadLe32(in, off::kCursorOn);
    h.Smoothing = ReadLe32(in, off::kSmoothing);
    h.Reserved267 = in[off::kReserved267];
    h.SampleCount = ReadLe32(in, off::kSampleCount);
    std::copy_n(in.begin() + off::kReserved272, h.Reserved272.size(), h.Reserved272.begin());
    h.Fahrenheit = in[off::kFahrenheit];
    return h;
}

void ApplyCgmHeaderBytes(CgmHeader& header, std::span<const std::uint8_t> bytes) noexcept {
    CgmHeaderImage image = SerializeCgmHeader(header);
    const std::size_t count = std::min(bytes.size(), kCgmHeaderBytes);
    std::copy_n(bytes.begin(), count, image.begin());
    header = ParseCgmHeader(image);
}

std::string_view FileMagicText(const CgmHeader& header) noexcept {
    const std::size_t length = std::min<std::size_t>(header.FileMagic[0], kShortTextBytes - 1);
    return {reinterpret_cast<const char*>(header.FileMagic.data() + 1), length};
}

std::string_view TitleText(const CgmHeader& header) noexcept {
    const auto end = std::find(header.Title.begin(), header.Title.end(), '\0');
    return {header.Title.data(), static_cast<std::size_t>(end - header.Title.begin())};
}

}  // namespace volt
