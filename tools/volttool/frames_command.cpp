// volttool frames: feeds a byte capture to the receive path in receive events of N bytes and
// prints one JSON line for every frame the framing hands to the decoder.

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "command.h"
#include "link/frame_scanner.h"
#include "monitor/frame_decoding.h"

namespace volt::tool {
namespace {

constexpr std::string_view kUsage =
    "usage: volttool frames [--old-layout] [--chunk N] [FILE]\n"
    "\n"
    "Reads raw bytes from FILE (or standard input when FILE is absent or '-'), feeds them to the\n"
    "frame scanner in receive events of N bytes (default 1; the last may be shorter), then one\n"
    "more receive event with no bytes, and prints one JSON object per line for every frame the\n"
    "framing hands to the decoder:\n"
    "  {\"length\": L, \"layout\": \"two-channel\" | \"single-channel\" | \"ignored\" | "
    "\"rejected\", \"channels\": [...]}\n"
    "\n"
    "  --old-layout  accept 76-byte single-channel frames\n"
    "  --chunk N     bytes per receive event, a positive whole number\n"
    "  --help        show this text\n";

std::string_view LayoutName(FrameLayout layout) {
    switch (layout) {
        case FrameLayout::TwoChannel:
            return "two-channel";
        case FrameLayout::SingleChannel:
            return "single-channel";
        case FrameLayout::Rejected:
            return "rejected";
        case FrameLayout::Ignored:
            break;
    }
    return "ignored";
}

nlohmann::ordered_json ChannelJson(const ChannelReading& r) {
    nlohmann::ordered_json j;
    j["Status"] = r.Status;
    j["BatteryType"] = r.BatteryType;
    j["Voltage"] = r.Voltage;
    j["Current"] = r.Current;
    j["Capacity"] = r.Capacity;
    j["Temperature"] = r.Temperature;
    j["Cells"] = r.Cells;
    j["InputVoltage"] = r.InputVoltage;
    j["TemperatureLimit"] = r.TemperatureLimit;
    j["ExtraLimit"] = r.ExtraLimit;
    j["CapacityLimit"] = r.CapacityLimit;
    j["VoltageLimit"] = r.VoltageLimit;
    return j;
}

class JsonLines : public FrameSink {
  public:
    JsonLines(std::ostream& out, bool oldLayout) : out_(out), oldLayout_(oldLayout) {}

    void DecodeFrame(std::span<const std::uint8_t> frame) override {
        const DecodedFrame decoded = DecodeFrameBytes(frame, oldLayout_);
        nlohmann::ordered_json line;
        line["length"] = frame.size();
        line["layout"] = LayoutName(decoded.Layout);
        line["channels"] = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < decoded.ChannelCount; ++i) {
            line["channels"].push_back(ChannelJson(decoded.Channels[i]));
        }
        out_ << line.dump() << '\n';
    }

  private:
    std::ostream& out_;
    bool oldLayout_;
};

struct Options {
    bool oldLayout = false;
    std::size_t chunk = 1;
    std::optional<std::string> file;
};

std::optional<std::size_t> PositiveNumber(std::string_view text) {
    std::size_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value == 0) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

int RunFramesCommand(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
                     std::ostream& err) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return kExitOk;
        }
        if (arg == "--old-layout") {
            options.oldLayout = true;
        } else if (arg == "--chunk" || arg.starts_with("--chunk=")) {
            std::string_view value;
            if (arg == "--chunk") {
                if (i + 1 == args.size()) {
                    err << "volttool frames: --chunk needs a number of bytes\n";
                    return kExitUsage;
                }
                value = args[++i];
            } else {
                value = arg.substr(std::string_view("--chunk=").size());
            }
            const std::optional<std::size_t> chunk = PositiveNumber(value);
            if (!chunk) {
                err << "volttool frames: --chunk needs a positive whole number, not '" << value
                    << "'\n";
                return kExitUsage;
            }
            options.chunk = *chunk;
        } else if (arg.size() > 1 && arg.starts_with('-')) {
            err << "volttool frames: unknown option '" << arg << "'\n" << kUsage;
            return kExitUsage;
        } else if (options.file) {
            err << "volttool frames: only one FILE, got '" << *options.file << "' and '" << arg
                << "'\n";
            return kExitUsage;
        } else {
            options.file = std::string(arg);
        }
    }

    std::vector<std::uint8_t> bytes;
    if (options.file && *options.file != "-") {
        errno = 0;
        std::ifstream file(*options.file, std::ios::binary);
        if (!file) {
            err << "volttool frames: cannot open '" << *options.file << "'";
            if (errno != 0) {
                err << ": " << std::strerror(errno);
            }
            err << "\n";
            return kExitUsage;
        }
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (file.bad()) {
            err << "volttool frames: cannot read '" << *options.file << "'\n";
            return kExitFailed;
        }
    } else {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    JsonLines lines(out, options.oldLayout);
    std::int32_t rxLedCountdown = 0;  // no lamp here
    FrameScanner scanner(lines, rxLedCountdown);
    const std::span<const std::uint8_t> all(bytes);
    for (std::size_t at = 0; at < all.size(); at += options.chunk) {
        scanner.ComPortRxChar(all.subspan(at, std::min(options.chunk, all.size() - at)));
    }
    // One more event hands over a frame whose '}' came with the last bytes.
    scanner.ComPortRxChar({});
    out.flush();
    return out ? kExitOk : kExitFailed;
}

}  // namespace volt::tool
