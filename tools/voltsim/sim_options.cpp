#include "sim_options.h"

#include <charconv>
#include <cmath>
#include <string>

namespace volt::sim {

const std::string_view kSimUsage =
    "usage: voltsim [OPTIONS]\n"
    "\n"
    "Plays a two-channel charger on a pseudo-terminal: prints the device path (or the --link\n"
    "path) on one line, then sends a charger frame every --interval milliseconds until it is\n"
    "stopped (SIGINT, SIGTERM) or --duration has passed. Bytes go out at the pace of a 9600-baud\n"
    "line (a frame takes about 115 ms); a frame due while the previous one is still going out\n"
    "is skipped. Bytes are lost while no program has the device open, as on a real line.\n"
    "\n"
    "  --scenario NAME    lipo-charge | nimh-discharge | dual | idle | cycle (default dual)\n"
    "  --seed N           seed of the scenario's imbalance and noise (default 1)\n"
    "  --speed K          play scenario time K times faster than wall time (default 1)\n"
    "  --interval MS      milliseconds between frames, 20 to 60000 (default 500)\n"
    "  --layout LAYOUT    two (110-byte frames, default) or single (76-byte frames, channel 1)\n"
    "  --bit7             set bit 7 on every third payload byte, as some chargers do\n"
    "  --noise            send a few stray bytes between frames\n"
    "  --fahrenheit       report temperatures in degrees Fahrenheit\n"
    "  --status3-at S     channel 1 reports status 3 from S seconds on\n"
    "  --unplug-at S      the device and its link vanish S seconds after the start ...\n"
    "  --replug-after S   ... and come back (a new device) S seconds later\n"
    "  --duration S       stop after S seconds\n"
    "  --link PATH        a symbolic link to the device at PATH (replaced if it is a link)\n"
    "  --help             show this text\n"
    "\n"
    "Times S are wall-clock seconds since the start, with decimals allowed.\n";

namespace {

std::optional<double> Seconds(std::string_view text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value < 0) {
        return std::nullopt;
    }
    return value;
}

template <typename Int>
std::optional<Int> Whole(std::string_view text) {
    Int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

ParsedOptions ParseSimOptions(std::span<const std::string_view> args) {
    SimOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return ShowHelp{};
        }
        if (arg == "--bit7") {
            o.Bit7 = true;
            continue;
        }
        if (arg == "--noise") {
            o.Noise = true;
            continue;
        }
        if (arg == "--fahrenheit") {
            o.Fahrenheit = true;
            continue;
        }
        const bool takesValue = arg == "--scenario" || arg == "--seed" || arg == "--speed" ||
                                arg == "--interval" || arg == "--layout" || arg == "--link" ||
                                arg == "--unplug-at" || arg == "--replug-after" ||
                                arg == "--status3-at" || arg == "--duration";
        if (!takesValue) {
            return UsageError{"unknown option '" + std::string(arg) + "'"};
        }
        if (i + 1 == args.size()) {
            return UsageError{std::string(arg) + " needs a value"};
        }
        const std::string_view value = args[++i];
        const auto bad = [&](std::string_view what) {
            return UsageError{std::string(arg) + " needs " + std::string(what) + ", not '" +
                              std::string(value) + "'"};
        };
        if (arg == "--scenario") {
            const std::optional<ScenarioKind> kind = ParseScenario(value);
            if (!kind) {
                return bad("lipo-charge, nimh-discharge, dual, idle or cycle");
            }
            o.Scenario = *kind;
        } else if (arg == "--seed") {
            const std::optional<std::uint32_t> seed = Whole<std::uint32_t>(value);
            if (!seed) {
                return bad("a whole number");
            }
            o.Seed = *seed;
        } else if (arg == "--speed") {
            const std::optional<double> speed = Seconds(value);
            if (!speed || *speed <= 0 || *speed > 100000) {
                return bad("a factor above 0, at most 100000");
            }
            o.Speed = *speed;
        } else if (arg == "--interval") {
            const std::optional<int> ms = Whole<int>(value);
            if (!ms || *ms < 20 || *ms > 60000) {
                return bad("milliseconds from 20 to 60000");
            }
            o.IntervalMs = *ms;
        } else if (arg == "--layout") {
            if (value == "two") {
                o.Layout = FrameLayoutChoice::TwoChannel;
            } else if (value == "single") {
                o.Layout = FrameLayoutChoice::Single;
            } else {
                return bad("two or single");
            }
        } else if (arg == "--link") {
            if (value.empty()) {
                return bad("a path");
            }
            o.Link = std::string(value);
        } else {
            const std::optional<double> s = Seconds(value);
            if (!s) {
                return bad("seconds, 0 or more");
            }
            if (arg == "--unplug-at") {
                o.UnplugAt = s;
            } else if (arg == "--replug-after") {
                o.ReplugAfter = s;
            } else if (arg == "--status3-at") {
                o.Status3At = s;
            } else {
                o.Duration = s;
            }
        }
    }
    if (o.ReplugAfter && !o.UnplugAt) {
        return UsageError{"--replug-after needs --unplug-at"};
    }
    return o;
}

}  // namespace volt::sim
