#include "appearance/color_scheme.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "common/byte_order.h"
#include "common/file_replace.h"

namespace volt {
namespace {

constexpr std::array<std::string_view, kColorEntryCount> kLabels = {
    "IndividualVoltage",
    "GuageArea",
    "GuageBackground",
    "GuageTitleBackground",
    "GuageTitleFont",
    "GuageValueBackground",
    "LinkOn",
    "LinkOff",
    "RunOn",
    "RunOff",
    "GraphBackground",
    "SelectChannel",
    "UnSelectedChannel",
    "Voltage",
    "Current",
    "Capacity",
    "Temperature",
    "Duration",
    "InputVoltage",
    "CapacityArea",
    "CELLTitle",
    "CELLTitleFont",
    "CELLLastPanel",
    "CELLCursorPanel",
    "CELLIDFont",
    "CELLLastValue",
    "CELLLastValueFont",
    "CELLCursor",
    "CELLCursorFont",
    "Time Text",
    "t2",
    "t3",
    "t4",
    "t5",
    "t6",
    "t7",
    "t8",
    "t9",
    "t10",
    "t11",
};

}  // namespace

std::string_view ColorLabel(int entry) noexcept {
    if (entry < 1 || entry > kColorEntryCount) {
        return {};
    }
    return kLabels[static_cast<std::size_t>(entry - 1)];
}

ColorFileImage ColorScheme::ToBytes() const noexcept {
    ColorFileImage image{};
    for (int entry = 1; entry <= kColorEntryCount; ++entry) {
        WriteLe32(image, 4 * Slot(entry), static_cast<std::int32_t>(Get(entry)));
    }
    return image;
}

void ColorScheme::OverlayBytes(std::span<const std::uint8_t> bytes) noexcept {
    ColorFileImage image = ToBytes();
    std::copy_n(bytes.begin(), std::min(bytes.size(), kColorFileBytes), image.begin());
    for (int entry = 1; entry <= kColorEntryCount; ++entry) {
        Set(entry, static_cast<std::uint32_t>(ReadLe32(image, 4 * Slot(entry))));
    }
}

bool LoadUserColors(ColorScheme& scheme, const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return true;
    }
    std::array<char, kColorFileBytes> buffer{};
    in.read(buffer.data(), buffer.size());
    const auto count = static_cast<std::size_t>(in.gcount());
    scheme.OverlayBytes(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(buffer.data()), count));
    return true;
}

std::optional<std::string> SaveUserColors(const ColorScheme& scheme,
                                          const std::filesystem::path& path) {
    const ColorFileImage image = scheme.ToBytes();
    return ReplaceFileContents(path, image);
}

}  // namespace volt
