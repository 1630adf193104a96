#pragma once
// Arbitrary bytes through the receive path and the decoder, checking what must hold whatever
// arrives. Shared by the fuzz target and the randomised test; voltcore only.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "link/frame_scanner.h"
#include "monitor/battery_type_names.h"
#include "monitor/channel_sink.h"
#include "monitor/frame_decoder.h"
#include "monitor/frame_layout.h"

namespace volt::fuzz {

// Keeps the first broken rule it sees.
class CheckingSink : public ChannelSink, public FrameSink {
  public:
    explicit CheckingSink(FrameDecoder*& decoder) : decoder_(decoder) {}

    std::string failure;
    std::size_t frames = 0;
    std::size_t framesThisEvent = 0;
    std::size_t statusUpdates = 0;

    void Fail(const char* what) {
        if (failure.empty()) {
            failure = what;
        }
    }

    // Frames pass through here on their way to the decoder.
    void DecodeFrame(std::span<const std::uint8_t> frame) override {
        ++frames;
        if (++framesThisEvent > 1) {
            Fail("more than one frame in one receive event");
        }
        if (frame.size() < 2 || frame.size() > FrameScanner::kFrameBufferBytes) {
            Fail("frame length outside 2..1024");
        } else if (frame.front() != '{' || frame.back() != '}') {
            Fail("frame does not run from '{' to '}'");
        } else {
            for (std::size_t i = 1; i + 1 < frame.size(); ++i) {
                if (frame[i] == '}') {
                    Fail("'}' inside a frame");
                }
            }
        }
        decoder_->DecodeFrame(frame);
    }

    void SetInputVoltages(std::int16_t channel1, std::int16_t channel2) override {
        CheckValue(channel1, kPairMax);
        CheckValue(channel2, kPairMax);
        input_[0] = channel1;
        input_[1] = channel2;
    }
    [[nodiscard]] std::int16_t InputVoltage(int channel) const override {
        return input_[channel == 0 ? 0 : 1];
    }
    void UpdateChannelStatus(int channel, std::uint8_t Status, std::uint8_t BatteryType,
                             std::int32_t Voltage, std::int32_t Current, std::int32_t Capacity,
                             std::int32_t Temperature) override {
        ++statusUpdates;
        CheckChannel(channel);
        if (Status > kMaxStatus || BatteryType > kMaxBatteryType) {
            Fail("Status or BatteryType outside the model reached the channel");
        }
        CheckValue(Voltage, kPairMax);
        CheckValue(Current, kPairMax);
        CheckValue(Capacity, kTripleMax);
        CheckValue(Temperature, kPairMax);
    }
    void UpdateChannelCells(int channel, const CellVoltages& cells) override {
        CheckChannel(channel);
        for (const std::int16_t cell : cells) {
            CheckValue(cell, kPairMax);
        }
    }
    void StoreChannelLimits(int channel, std::int16_t VoltageLimit, std::int32_t CapacityLimit,
                            std::int16_t TemperatureLimit, std::int16_t ExtraLimit) override {
        CheckChannel(channel);
        CheckValue(VoltageLimit, kPairMax);
        CheckValue(CapacityLimit, kTripleMax);
        CheckValue(TemperatureLimit, 127);
        CheckValue(ExtraLimit, kPairMax);
    }
    void ShowChannel2(bool) override {}

  private:
    static constexpr std::int32_t kPairMax = 127 * 100 + 127;
    static constexpr std::int32_t kTripleMax = 127 * 10000 + 127 * 100 + 127;

    void CheckValue(std::int32_t value, std::int32_t max) {
        if (value < 0 || value > max) {
            Fail("decoded value outside what its bytes can hold");
        }
    }
    void CheckChannel(int channel) {
        if (channel != 0 && channel != 1) {
            Fail("channel other than 0 or 1");
        }
    }

    FrameDecoder*& decoder_;
    std::int16_t input_[2] = {0, 0};
};

struct StreamResult {
    std::string failure;  // empty when every rule held
    std::size_t frames = 0;
    std::size_t statusUpdates = 0;
};

// The first byte picks the receive-event size (1..128 bytes, or 2048 and more on 0xFF) and bit 7 of
// the second the old layout; the rest is the stream. An empty event ends it.
inline StreamResult RunFrameStream(std::span<const std::uint8_t> data) {
    StreamResult result;
    if (data.size() < 2) {
        return result;
    }
    const std::size_t chunk = data[0] == 0xFF ? 2100 : std::size_t{1} + data[0] % 128;
    const bool oldLayout = (data[1] & 0x80) != 0;
    const std::span<const std::uint8_t> stream = data.subspan(2);

    FrameDecoder* decoder = nullptr;
    CheckingSink sink(decoder);
    BatteryTypeNames names;
    FrameDecoder realDecoder(sink, names, "/nonexistent-volt-dir/");
    realDecoder.SetOldLayoutEnabled(oldLayout);
    decoder = &realDecoder;
    std::int32_t rxLed = 0;
    FrameScanner scanner(sink, rxLed);

    auto event = [&](std::span<const std::uint8_t> bytes) {
        const std::size_t passes =
            bytes.empty()
                ? 1
                : (bytes.size() + FrameScanner::kMaxReadBytes - 1) / FrameScanner::kMaxReadBytes;
        sink.framesThisEvent = 0;
        scanner.ComPortRxChar(bytes);
        if (sink.framesThisEvent > passes) {
            sink.Fail("more frames than passes");
        }
        sink.framesThisEvent = 0;
        const std::int32_t count = scanner.RxCount();
        if (count < 0 || count > static_cast<std::int32_t>(FrameScanner::kRingBytes)) {
            sink.Fail("RxCount outside 0..2048");
        }
        if (scanner.RxWriteIndex() != (scanner.RxReadIndex() + count) % 2048) {
            sink.Fail("ring indices disagree with RxCount");
        }
        if (scanner.FrameLength() < 0 || scanner.FrameLength() > 1024) {
            sink.Fail("FrameLength outside 0..1024");
        }
        if (scanner.LinkWatchdog() != FrameScanner::kWatchdogTicks) {
            sink.Fail("receive event did not reload the watchdog");
        }
        if (realDecoder.DecoderBusy().IsSet()) {
            sink.Fail("DecoderBusy left set");
        }
    };
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
        event(stream.subspan(at, std::min(chunk, stream.size() - at)));
    }
    event({});
    result.failure = sink.failure;
    result.frames = sink.frames;
    result.statusUpdates = sink.statusUpdates;
    return result;
}

}  // namespace volt::fuzz
