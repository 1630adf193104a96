// Scanner + decoder throughput on a two-channel stream fed in receive events of a few bytes, as
// the serial port delivers it, with allocations counted over the timed loop.

#include <benchmark/benchmark.h>

#include <vector>

#include "link/frame_scanner.h"
#include "monitor/channel_sink.h"
#include "monitor/frame_decoder.h"
#include "monitor/frame_encoder.h"

// Defined with the counting operator new in count_allocations.cpp.
long AllocationCount() noexcept;

namespace volt {
namespace {

class NullSink : public ChannelSink {
  public:
    void SetInputVoltages(std::int16_t a, std::int16_t b) override { sum_ += a + b; }
    [[nodiscard]] std::int16_t InputVoltage(int) const override { return 0; }
    void UpdateChannelStatus(int, std::uint8_t status, std::uint8_t, std::int32_t voltage,
                             std::int32_t, std::int32_t, std::int32_t) override {
        sum_ += status + voltage;
        ++frames;
    }
    void UpdateChannelCells(int, const CellVoltages& cells) override { sum_ += cells[0]; }
    void StoreChannelLimits(int, std::int16_t, std::int32_t, std::int16_t, std::int16_t) override {}
    void ShowChannel2(bool) override {}
    long frames = 0;
    long sum_ = 0;
};

std::vector<std::uint8_t> Stream() {
    std::vector<std::uint8_t> stream;
    for (int i = 0; i < 512; ++i) {
        ChannelReading ch1;
        ch1.Status = 2;
        ch1.BatteryType = 1;
        ch1.Voltage = 1140 + i % 90;
        ch1.Current = 150;
        ch1.Capacity = 4 * i;
        ch1.Temperature = 25;
        ch1.Cells = {380, 381, 379};
        ch1.InputVoltage = 1518;
        ChannelReading ch2;
        ch2.InputVoltage = 1518;
        const auto frame = EncodeTwoChannelFrame(ch1, ch2, {110, std::size_t(i % 3 == 1 ? 5 : 0)});
        stream.insert(stream.end(), frame.begin(), frame.end());
        stream.push_back(0x00);  // a noise byte between frames
    }
    return stream;
}

void BM_ScanAndDecode(benchmark::State& state) {
    const std::vector<std::uint8_t> stream = Stream();
    const auto chunk = static_cast<std::size_t>(state.range(0));
    NullSink sink;
    BatteryTypeNames names;
    FrameDecoder decoder(sink, names, "/nonexistent-volt-dir/");
    std::int32_t rxLed = 0;
    FrameScanner scanner(decoder, rxLed);
    // The first frame changes the length and loads the names file once, outside the timing.
    scanner.ComPortRxChar(std::span(stream).first(111));
    scanner.ComPortRxChar({});
    const long framesBefore = sink.frames;
    long allocations = 0;
    for (auto _ : state) {
        const long allocationsBefore = AllocationCount();
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            scanner.ComPortRxChar(
                std::span(stream).subspan(at, std::min(chunk, stream.size() - at)));
        }
        allocations += AllocationCount() - allocationsBefore;
        benchmark::DoNotOptimize(sink.sum_);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
    const long channelUpdates = sink.frames - framesBefore;
    state.counters["frames"] = static_cast<double>(channelUpdates / 2);
    state.counters["allocs"] = static_cast<double>(allocations);
}

// At 9600 baud a receive event brings a handful of bytes. The scanner hands over at most one
// frame per event, so events averaging more than about half a frame would outrun it and fill the
// ring; they are not what the port delivers.
BENCHMARK(BM_ScanAndDecode)->Arg(1)->Arg(8)->Arg(16)->Arg(32);

}  // namespace
}  // namespace volt

BENCHMARK_MAIN();
