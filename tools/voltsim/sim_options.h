#pragma once
// voltsim's command line.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "scenario.h"

namespace volt::sim {

enum class FrameLayoutChoice { TwoChannel, Single };

struct SimOptions {
    ScenarioKind Scenario = ScenarioKind::Dual;
    std::uint32_t Seed = 1;
    double Speed = 1;  // scenario seconds per wall second
    int IntervalMs = 500;
    FrameLayoutChoice Layout = FrameLayoutChoice::TwoChannel;
    bool Bit7 = false;
    bool Noise = false;
    bool Fahrenheit = false;
    std::string Link;  // empty: no link, the device path is printed
    // Wall seconds since the start.
    std::optional<double> UnplugAt;
    std::optional<double> ReplugAfter;
    std::optional<double> Status3At;
    std::optional<double> Duration;
};

struct ShowHelp {};
struct UsageError {
    std::string message;
};

using ParsedOptions = std::variant<SimOptions, ShowHelp, UsageError>;

[[nodiscard]] ParsedOptions ParseSimOptions(std::span<const std::string_view> args);

extern const std::string_view kSimUsage;

}  // namespace volt::sim
