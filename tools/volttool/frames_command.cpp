// volttool frames: feeds a byte capture to the receive path in receive events of N bytes and
// prints one JSON line for every frame the framing hands to the decoder.

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
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
    "framing hands to the decoder. FILE may be a live device such as a pseudo-terminal: lines\n"
    "appear as frames arrive and the input ends when the device hangs up.\n"
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
        unflushed_ = true;
    }

    [[nodiscard]] bool Unflushed() const noexcept { return unflushed_; }
    void Flush() {
        out_.flush();
        unflushed_ = false;
    }

  private:
    std::ostream& out_;
    bool oldLayout_;
    bool unflushed_ = false;
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

    std::ifstream file;
    // On a terminal (a pseudo-terminal or serial device) the stream ends when the other side
    // hangs up, which reads as an input/output error.
    bool hangUpEnds = false;
    if (options.file && *options.file != "-") {
        errno = 0;
        file.open(*options.file, std::ios::binary);
        if (!file) {
            err << "volttool frames: cannot open '" << *options.file << "'";
            if (errno != 0) {
                err << ": " << std::strerror(errno);
            }
            err << "\n";
            return kExitUsage;
        }
        std::error_code ignored;
        hangUpEnds = std::filesystem::is_character_file(*options.file, ignored);
    }
    std::streambuf& source = *(file.is_open() ? file.rdbuf() : in.rdbuf());

    JsonLines lines(out, options.oldLayout);
    std::int32_t rxLedCountdown = 0;  // no lamp here
    FrameScanner scanner(lines, rxLedCountdown);
    // Bytes are fed as they come, so a live device shows its frames while it sends them.
    // The chunk is the user's number: the buffer grows with the bytes that come, not with it.
    std::vector<std::uint8_t> event;
    event.reserve(std::min(options.chunk, FrameScanner::kMaxReadBytes));
    try {
        for (;;) {
            if (lines.Unflushed() && source.in_avail() <= 0) {
                lines.Flush();  // nothing more waiting: show what has been decoded
            }
            const int byte = source.sbumpc();
            if (byte == std::char_traits<char>::eof()) {
                break;
            }
            event.push_back(static_cast<std::uint8_t>(byte));
            if (event.size() == options.chunk) {
                scanner.ComPortRxChar(event);
                event.clear();
            }
        }
    } catch (const std::ios_base::failure&) {
        if (!hangUpEnds) {
            err << "volttool frames: cannot read '" << options.file.value_or("-") << "'\n";
            return kExitFailed;
        }
    }
    if (!event.empty()) {
        scanner.ComPortRxChar(event);
    }
    // One more event hands over a frame whose '}' came with the last bytes.
    scanner.ComPortRxChar({});
    out.flush();
    return out ? kExitOk : kExitFailed;
}

}  // namespace volt::tool
