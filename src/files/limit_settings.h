#pragma once
// The starting scale ranges of new graph windows, read once at start-up from "Values.ini" in
// the program's directory. A missing file is created with the defaults before it is read.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace volt {

inline constexpr std::string_view kLimitsFileName = "Values.ini";

// Zero until the file has been read.
struct LimitSettings {
    std::int32_t VoltageMax = 0;  // 1/100 V
    std::int32_t VoltageMin = 0;
    std::int32_t CurrentMax = 0;  // mA
    std::int32_t CurrentMin = 0;
    std::int32_t CapacityMax = 0;  // mAh
    std::int32_t CapacityMin = 0;
    std::int32_t TemperatureMax = 0;  // degrees Celsius
    std::int32_t TemperatureMin = 0;

    friend bool operator==(const LimitSettings&, const LimitSettings&) = default;
};

inline constexpr LimitSettings kDefaultLimitSettings{1000, 600, 1000, 0, 100, 0, 100, 0};

struct LimitSettingsResult {
    LimitSettings Settings;
    // The platform's message when the missing file could not be created; the defaults are then
    // in effect for this run.
    std::optional<std::string> WriteError;
};

// Reads directory / "Values.ini", creating it with the defaults first when it does not exist.
// Keys that are missing or not integers take their defaults; the file is not repaired.
[[nodiscard]] LimitSettingsResult LoadLimitSettings(const std::filesystem::path& directory);

// Writes the eight defaults, section by section in the fixed order, "Max" before "Min". Returns
// the platform's message when the file could not be written.
[[nodiscard]] std::optional<std::string> WriteDefaultLimitSettings(
    const std::filesystem::path& file);

}  // namespace volt
