#pragma once
// The live monitor's entry point for frames: the framing hands each '{'...'}' frame to
// DecodeFrame, which picks the layout by length, reloads the layout's battery names when the
// length changes, decodes one or two channels and applies them to a ChannelSink in a fixed order.

#include <cstdint>
#include <span>
#include <string>

#include "link/frame_sink.h"
#include "monitor/battery_type_names.h"
#include "monitor/decoder_busy.h"

namespace volt {

class ChannelSink;

class FrameDecoder final : public FrameSink {
  public:
    static constexpr const char* kTwoChannelNamesFile = "BatType.Txt";
    static constexpr const char* kSingleChannelNamesFile = "BatTypeOld.Txt";

    // applicationDirectory ends in a separator (or is empty); the names files are looked up by
    // appending their bare names. sink and names must outlive the decoder.
    FrameDecoder(ChannelSink& sink, BatteryTypeNames& names, std::string applicationDirectory);

    void DecodeFrame(std::span<const std::uint8_t> frame) override;

    // Shared with the recording tick, which takes it with a BusyGuard.
    [[nodiscard]] BusyFlag& DecoderBusy() noexcept { return DecoderBusy_; }

    [[nodiscard]] bool RunEnabled() const noexcept { return RunEnabled_; }
    void SetRunEnabled(bool enabled) noexcept { RunEnabled_ = enabled; }
    [[nodiscard]] bool OldLayoutEnabled() const noexcept { return OldLayoutEnabled_; }
    void SetOldLayoutEnabled(bool enabled) noexcept { OldLayoutEnabled_ = enabled; }
    [[nodiscard]] std::int32_t LastFrameLength() const noexcept { return LastFrameLength_; }

  private:
    ChannelSink& sink_;
    BatteryTypeNames& names_;
    std::string applicationDirectory_;
    BusyFlag DecoderBusy_;
    bool RunEnabled_ = true;
    bool OldLayoutEnabled_ = false;
    std::int32_t LastFrameLength_ = 0;  // 0 at start: the first accepted frame is a change
};

}  // namespace volt
