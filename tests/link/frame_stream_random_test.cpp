// Random streams of good frames, garbled frames and noise through scanner and decoder, with a
// fixed seed: the checks of the fuzz target on every plain test run.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "frame_stream_harness.h"
#include "monitor/frame_encoder.h"

namespace volt {
namespace {

std::vector<std::uint8_t> RandomStream(std::mt19937& rng) {
    auto below = [&](std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); };
    std::vector<std::uint8_t> data = {static_cast<std::uint8_t>(below(256)),
                                      static_cast<std::uint8_t>(below(256))};
    const std::uint32_t pieces = 1 + below(40);
    for (std::uint32_t p = 0; p < pieces; ++p) {
        std::vector<std::uint8_t> piece;
        switch (below(5)) {
            case 0: {  // a good two-channel frame
                ChannelReading a;
                a.Status = static_cast<std::uint8_t>(below(4));
                a.BatteryType = static_cast<std::uint8_t>(below(7));
                a.Voltage = static_cast<std::int32_t>(below(12828));
                a.Capacity = static_cast<std::int32_t>(below(1282828));
                piece = EncodeTwoChannelFrame(a, {}, {109 + below(200), below(4)});
                break;
            }
            case 1: {  // a good single-channel frame
                ChannelReading a;
                a.Status = static_cast<std::uint8_t>(below(4));
                a.Current = static_cast<std::int32_t>(below(12828));
                piece = EncodeSingleChannelFrame(a, {0, below(3)});
                break;
            }
            case 2:  // raw bytes, braces likely
                piece.resize(below(300));
                for (auto& b : piece) {
                    b = below(4) == 0 ? (below(2) ? '{' : '}')
                                      : static_cast<std::uint8_t>(below(256));
                }
                break;
            case 3:  // a frame of known length with random payload
                piece.assign(below(2) ? 110 : 76, 0);
                for (auto& b : piece) {
                    b = static_cast<std::uint8_t>(below(256));
                    if (b == '{' || b == '}') {
                        b = 0;
                    }
                }
                piece.front() = '{';
                piece.back() = '}';
                break;
            default:  // a long frame around the buffer limit
                piece.assign(1000 + below(60), 'p');
                piece.front() = '{';
                piece.back() = '}';
                break;
        }
        data.insert(data.end(), piece.begin(), piece.end());
    }
    return data;
}

TEST(FrameStreamRandom, RulesHoldForEveryStream) {
    std::mt19937 rng(20240611u);
    std::size_t frames = 0;
    std::size_t updates = 0;
    for (int i = 0; i < 400; ++i) {
        const std::vector<std::uint8_t> data = RandomStream(rng);
        const fuzz::StreamResult result = fuzz::RunFrameStream(data);
        ASSERT_EQ(result.failure, "") << "stream " << i;
        frames += result.frames;
        updates += result.statusUpdates;
    }
    // The streams exercise the decoder, not only the framing.
    EXPECT_GT(frames, 1000u);
    EXPECT_GT(updates, 500u);
}

}  // namespace
}  // namespace volt
