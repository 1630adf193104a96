#include "sim_frames.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "link/frame_scanner.h"
#include "monitor/frame_decoding.h"

namespace volt::sim {
namespace {

class Collect : public FrameSink {
  public:
    void DecodeFrame(std::span<const std::uint8_t> frame) override {
        Frames.push_back(DecodeFrameBytes(frame, true));
    }
    std::vector<DecodedFrame> Frames;
};

// Every frame the source makes, through the real framing and decoding.
std::vector<DecodedFrame> Receive(const SimOptions& options, int frames,
                                  std::vector<SimFrame>* sent = nullptr) {
    FrameSource source(options);
    Collect collect;
    std::int32_t led = 0;
    FrameScanner scanner(collect, led);
    for (int i = 0; i < frames; ++i) {
        SimFrame frame = source.Next();
        scanner.ComPortRxChar(frame.Bytes);
        scanner.ComPortRxChar({});  // the hand-over of a frame is at the next event
        if (sent) {
            sent->push_back(std::move(frame));
        }
    }
    return collect.Frames;
}

TEST(VoltsimFrames, FramesDecodeToTheSentReadingsWithEveryHabitOn) {
    struct Case {
        const char* name;
        FrameLayoutChoice layout;
        bool bit7;
        bool noise;
    };
    for (const Case& c : {Case{"two", FrameLayoutChoice::TwoChannel, false, false},
                          Case{"two, bit 7 and noise", FrameLayoutChoice::TwoChannel, true, true},
                          Case{"single, bit 7 and noise", FrameLayoutChoice::Single, true, true}}) {
        SimOptions options;
        options.Scenario = ScenarioKind::Dual;
        options.Speed = 100;
        options.Layout = c.layout;
        options.Bit7 = c.bit7;
        options.Noise = c.noise;
        std::vector<SimFrame> sent;
        const std::vector<DecodedFrame> got = Receive(options, 40, &sent);
        ASSERT_EQ(got.size(), sent.size()) << c.name;
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (c.layout == FrameLayoutChoice::Single) {
                ASSERT_EQ(got[i].Layout, FrameLayout::SingleChannel) << c.name;
                ChannelReading expected = sent[i].Readings[0];
                expected.ExtraLimit = 0;
                expected.VoltageLimit = 0;  // not carried by this layout
                EXPECT_EQ(got[i].Channels[0], expected) << c.name << " " << i;
            } else {
                ASSERT_EQ(got[i].Layout, FrameLayout::TwoChannel) << c.name;
                EXPECT_EQ(got[i].Channels[0], sent[i].Readings[0]) << c.name << " " << i;
                EXPECT_EQ(got[i].Channels[1], sent[i].Readings[1]) << c.name << " " << i;
            }
        }
        const bool anyHighBit = std::any_of(sent.begin(), sent.end(), [](const SimFrame& f) {
            return std::any_of(f.Bytes.begin(), f.Bytes.end(),
                               [](std::uint8_t b) { return b >= 0x80; });
        });
        EXPECT_EQ(anyHighBit, c.bit7 || c.noise) << c.name;
        EXPECT_EQ(sent[0].Bytes.front() != '{', c.noise) << c.name;
    }
}

TEST(VoltsimFrames, FahrenheitAndStatus3FollowTheClock) {
    SimOptions options;
    options.Scenario = ScenarioKind::LipoCharge;
    options.IntervalMs = 500;
    options.Fahrenheit = true;
    options.Status3At = 2.0;  // from the fifth frame on (k * 0.5 s >= 2 s)
    FrameSource source(options);
    for (int k = 0; k < 8; ++k) {
        const SimFrame frame = source.Next();
        EXPECT_EQ(frame.Readings[0].Status, k >= 4 ? 3 : 2) << k;
        EXPECT_GE(frame.Readings[0].Temperature, 1000 + 68) << k;  // 20 C and warmer
        EXPECT_LE(frame.Readings[0].Temperature, 1000 + 95) << k;
        EXPECT_EQ(frame.Readings[1].Temperature, 1000 + 32) << k;  // nothing on channel 2: 0 C
    }
}

}  // namespace
}  // namespace volt::sim
