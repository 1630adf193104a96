#include "files/limit_settings.h"

#include <array>
#include <span>
#include <system_error>

#include "common/file_replace.h"
#include "files/ini_file.h"

namespace volt {
namespace {

struct LimitKey {
    std::string_view Section;
    std::string_view Key;
    std::int32_t LimitSettings::*Field;
};

// File order, which is also the order of the record.
constexpr std::array<LimitKey, 8> kLimitKeys = {{
    {"Voltage", "Max", &LimitSettings::VoltageMax},
    {"Voltage", "Min", &LimitSettings::VoltageMin},
    {"Current", "Max", &LimitSettings::CurrentMax},
    {"Current", "Min", &LimitSettings::CurrentMin},
    {"Capacity", "Max", &LimitSettings::CapacityMax},
    {"Capacity", "Min", &LimitSettings::CapacityMin},
    {"Temperature", "Max", &LimitSettings::TemperatureMax},
    {"Temperature", "Min", &LimitSettings::TemperatureMin},
}};

}  // namespace

std::optional<std::string> WriteDefaultLimitSettings(const std::filesystem::path& file) {
    IniWriter writer;
    for (const LimitKey& key : kLimitKeys) {
        writer.WriteInteger(key.Section, key.Key, kDefaultLimitSettings.*key.Field);
    }
    const std::string text = writer.Text();
    return ReplaceFileContents(
        file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

LimitSettingsResult LoadLimitSettings(const std::filesystem::path& directory) {
    const std::filesystem::path file = directory / kLimitsFileName;
    LimitSettingsResult result;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        result.WriteError = WriteDefaultLimitSettings(file);
        if (result.WriteError) {
            // Keep the defaults in effect rather than zero ranges for the whole run.
            result.Settings = kDefaultLimitSettings;
            return result;
        }
    }
    // An existing file that cannot be read behaves like one without keys.
    const IniFile ini = IniFile::Parse(ReadFileBytes(file).value_or(std::string{}));
    for (const LimitKey& key : kLimitKeys) {
        result.Settings.*key.Field =
            ini.ReadInteger(key.Section, key.Key, kDefaultLimitSettings.*key.Field);
    }
    return result;
}

}  // namespace volt
