// The receive path allocates nothing per frame: scanner and decoder run on fixed buffers.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "link/frame_scanner.h"
#include "monitor/channel_sink.h"
#include "monitor/frame_decoder.h"
#include "monitor/frame_encoder.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace volt {
namespace {

class CountingSink : public ChannelSink {
  public:
    void SetInputVoltages(std::int16_t, std::int16_t) override {}
    [[nodiscard]] std::int16_t InputVoltage(int) const override { return 0; }
    void UpdateChannelStatus(int, std::uint8_t, std::uint8_t, std::int32_t, std::int32_t,
                             std::int32_t, std::int32_t) override {
        ++updates;
    }
    void UpdateChannelCells(int, const CellVoltages&) override {}
    void StoreChannelLimits(int, std::int16_t, std::int32_t, std::int16_t, std::int16_t) override {}
    void ShowChannel2(bool) override {}
    long updates = 0;
};

TEST(ReceivePath, AllocatesNothingPerFrame) {
    ChannelReading charging;
    charging.Status = 2;
    charging.BatteryType = 1;
    charging.Voltage = 1233;
    std::vector<std::uint8_t> stream;
    for (int i = 0; i < 200; ++i) {
        const auto frame = EncodeTwoChannelFrame(charging, {}, {110, std::size_t(i % 3)});
        stream.insert(stream.end(), frame.begin(), frame.end());
        stream.push_back(0x55);
    }
    CountingSink sink;
    BatteryTypeNames names;
    FrameDecoder decoder(sink, names, "/nonexistent-volt-dir/");
    std::int32_t rxLed = 0;
    FrameScanner scanner(decoder, rxLed);
    // The first frame changes the length and loads the names file once: that may allocate.
    scanner.ComPortRxChar(std::span(stream).first(120));
    scanner.ComPortRxChar({});
    ASSERT_EQ(sink.updates, 2);

    const long before = g_allocations.load();
    for (std::size_t at = 120; at < stream.size(); at += 13) {
        scanner.ComPortRxChar(
            std::span(stream).subspan(at, std::min<std::size_t>(13, stream.size() - at)));
    }
    scanner.ComPortRxChar({});
    EXPECT_EQ(g_allocations.load() - before, 0);
    EXPECT_EQ(sink.updates, 400);
}

}  // namespace
}  // namespace volt
