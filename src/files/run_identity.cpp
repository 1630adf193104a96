#include "files/run_identity.h"

namespace volt {

std::optional<std::string> BatteryTypeError(const CgmHeader& header) {
    if (header.BatteryType <= kMaxBatteryType) {
        return std::nullopt;
    }
    return "The graph is damaged: battery type " + std::to_string(header.BatteryType) +
           " is not one of 0 to " + std::to_string(kMaxBatteryType) + ".";
}

std::optional<std::string> ModeError(const CgmHeader& header) {
    if (header.Mode <= kMaxMode) {
        return std::nullopt;
    }
    return "The graph is damaged: mode " + std::to_string(header.Mode) + " is not one of 0 to " +
           std::to_string(kMaxMode) + ".";
}

}  // namespace volt
