#pragma once
// The seven chart series of a graph window; a series kind is the series' index on the chart.

#include <array>
#include <cstddef>
#include <string_view>

namespace volt {

enum class SeriesKind : int {
    Capacity = 0,
    Voltage = 1,
    Current = 2,
    Temperature = 3,
    MaxLineVoltage = 4,
    MaxLineCapacity = 5,
    MaxLineTemp = 6,
};

inline constexpr std::size_t kSeriesKindCount = 7;

inline constexpr std::array<std::string_view, kSeriesKindCount> kSeriesTitles = {
    "Capacity",       "Voltage",         "Current",    "Temperature",
    "MaxLineVoltage", "MaxLineCapacity", "MaxLineTemp"};

[[nodiscard]] constexpr std::size_t SeriesIndex(SeriesKind kind) noexcept {
    return static_cast<std::size_t>(kind);
}

[[nodiscard]] constexpr std::string_view SeriesTitle(SeriesKind kind) noexcept {
    return kSeriesTitles[SeriesIndex(kind)];
}

}  // namespace volt
