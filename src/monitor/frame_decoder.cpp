#include "monitor/frame_decoder.h"

#include <filesystem>
#include <utility>

#include "monitor/channel_sink.h"
#include "monitor/frame_decoding.h"

namespace volt {

FrameDecoder::FrameDecoder(ChannelSink& sink, BatteryTypeNames& names,
                           std::string applicationDirectory)
    : sink_(sink), names_(names), applicationDirectory_(std::move(applicationDirectory)) {}

void FrameDecoder::DecodeFrame(std::span<const std::uint8_t> frame) {
    // A frame that arrives while the recording tick runs is dropped, not queued.
    const BusyGuard busy(DecoderBusy_);
    if (!busy.Acquired() || !RunEnabled_ || frame.empty()) {
        return;
    }
    // Copied and masked before anything is applied: the sink may run the event loop, which can
    // reuse the framing's buffer.
    const DecodedFrame decoded = DecodeFrameBytes(frame, OldLayoutEnabled_);
    const FrameLayout lengthLayout = SelectFrameLayout(frame.size(), OldLayoutEnabled_);
    if (lengthLayout == FrameLayout::Ignored) {
        return;
    }

    // The length alone tells the charger model, so a frame rejected for its values still counts
    // as a length change; only its readings are kept away from the channels.
    const auto length = static_cast<std::int32_t>(frame.size());
    if (length != LastFrameLength_) {
        const bool twoChannel = lengthLayout == FrameLayout::TwoChannel;
        const char* file = twoChannel ? kTwoChannelNamesFile : kSingleChannelNamesFile;
        LoadBatteryTypeNames(names_, std::filesystem::path(applicationDirectory_ + file));
        LastFrameLength_ = length;
        sink_.ShowChannel2(twoChannel);
    }
    if (decoded.Layout == FrameLayout::Rejected) {
        return;
    }

    if (decoded.Layout == FrameLayout::TwoChannel) {
        sink_.SetInputVoltages(decoded.Channels[0].InputVoltage, decoded.Channels[1].InputVoltage);
    } else {
        sink_.SetInputVoltages(decoded.Channels[0].InputVoltage, sink_.InputVoltage(1));
    }
    for (std::size_t i = 0; i < decoded.ChannelCount; ++i) {
        const ChannelReading& r = decoded.Channels[i];
        const int channel = static_cast<int>(i);
        sink_.UpdateChannelStatus(channel, r.Status, r.BatteryType, r.Voltage, r.Current,
                                  r.Capacity, r.Temperature);
        sink_.UpdateChannelCells(channel, r.Cells);
        sink_.StoreChannelLimits(channel, r.VoltageLimit, r.CapacityLimit, r.TemperatureLimit,
                                 r.ExtraLimit);
    }
}

}  // namespace volt
