#include "monitor/battery_type_names.h"

#include <algorithm>
#include <string>

#include "common/file_replace.h"

namespace volt {
namespace {

constexpr std::array<std::string_view, BatteryTypeNames::kCount> kDefaultNames = {
    "", "LiPo", "LiFe(A123)", "LiIo", "NiMh", "NiCd", "Pb"};

}  // namespace

void BatteryTypeNames::SetDefaults() noexcept {
    for (std::size_t i = 0; i < kCount; ++i) {
        Set(i, kDefaultNames[i]);
    }
}

void BatteryTypeNames::Set(std::size_t index, std::string_view cp1252) noexcept {
    if (index >= kCount) {
        return;
    }
    const std::size_t length = std::min(cp1252.size(), kMaxChars);
    std::copy_n(cp1252.begin(), length, text_[index].begin());
    length_[index] = static_cast<std::uint8_t>(length);
}

std::string_view BatteryTypeNames::operator[](std::size_t index) const noexcept {
    if (index >= kCount) {
        return {};
    }
    return {text_[index].data(), length_[index]};
}

void LoadBatteryTypeNames(BatteryTypeNames& names, const std::filesystem::path& path) {
    const std::optional<std::string> contents = ReadFileBytes(path);
    if (!contents) {
        names.SetDefaults();
        return;
    }
    std::string_view rest = *contents;
    for (std::size_t index = 0; index < BatteryTypeNames::kCount && !rest.empty(); ++index) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        names.Set(index, line);
    }
}

}  // namespace volt
