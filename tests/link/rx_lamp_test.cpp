#include "link/rx_lamp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "link/frame_scanner.h"

namespace volt {
namespace {

using Changes = std::vector<std::pair<int, std::uint32_t>>;  // 10-ms tick, new colour

Changes CountDown(std::int32_t& countdown, int ticks) {
    Changes changes;
    for (int tick = 1; tick <= ticks; ++tick) {
        if (const std::optional<std::uint32_t> colour = RxLedTick(countdown)) {
            changes.emplace_back(tick, *colour);
        }
    }
    return changes;
}

TEST(RxLamp, ABlinkIsYellowThenGreenThenGrey) {
    std::int32_t countdown = FrameScanner::kRxLedBlinkStart;
    // Yellow while the count is 51 (the first tick only), green at 20, grey at 0, then quiet.
    EXPECT_EQ(CountDown(countdown, 100),
              (Changes{{1, kRxLedYellow}, {32, kRxLedGreen}, {52, kRxLedGrey}}));
    EXPECT_EQ(countdown, 0);
}

TEST(RxLamp, StartValueTurnsTheLampGreyAfter50Ms) {
    std::int32_t countdown = kRxLedInitialCountdown;
    EXPECT_EQ(CountDown(countdown, 10), (Changes{{5, kRxLedGrey}}));
}

TEST(RxLamp, SteadyDataAlternatesYellowAndGreen) {
    // A frame every 100 ms re-arms the blink once the count is below 10.
    class NoFrames : public FrameSink {
      public:
        void DecodeFrame(std::span<const std::uint8_t>) override {}
    } frames;
    std::int32_t countdown = 0;
    FrameScanner scanner(frames, countdown);
    const std::uint8_t byte = 'x';
    Changes changes;
    for (int tick = 1; tick <= 200; ++tick) {
        if (tick % 10 == 1) {
            scanner.ComPortRxChar({&byte, 1});
        }
        if (const std::optional<std::uint32_t> colour = RxLedTick(countdown)) {
            changes.emplace_back(tick, *colour);
        }
    }
    for (const auto& [tick, colour] : changes) {
        EXPECT_NE(colour, kRxLedGrey) << tick;
    }
    // Re-armed at ticks 1, 51, 101, 151: yellow at each, green 31 ticks later.
    EXPECT_EQ(changes, (Changes{{1, kRxLedYellow},
                                {32, kRxLedGreen},
                                {51, kRxLedYellow},
                                {82, kRxLedGreen},
                                {101, kRxLedYellow},
                                {132, kRxLedGreen},
                                {151, kRxLedYellow},
                                {182, kRxLedGreen}}));
}

}  // namespace
}  // namespace volt
