#include "link/frame_scanner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace volt {
namespace {

class FrameLog : public FrameSink {
  public:
    void DecodeFrame(std::span<const std::uint8_t> frame) override {
        Frames.emplace_back(frame.begin(), frame.end());
    }
    std::vector<std::string> Frames;
};

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct Fixture {
    FrameLog log;
    std::int32_t rxLed = 5;
    FrameScanner scanner{log, rxLed};

    // Runs one receive event and returns the frame it handed over ("" for none).
    std::string Event(std::string_view bytes) {
        const std::size_t before = log.Frames.size();
        scanner.ComPortRxChar(Bytes(bytes));
        EXPECT_LE(log.Frames.size(), before + 1) << "more than one frame in one event";
        return log.Frames.size() > before ? log.Frames.back() : std::string();
    }
};

struct EventCase {
    const char* name;
    std::vector<std::string> events;
    std::vector<std::string> handedOver;  // per event, "" for none
};

class ScannerEvents : public testing::TestWithParam<EventCase> {};

TEST_P(ScannerEvents, HandsOverFramesAtTheRightEvent) {
    Fixture f;
    const EventCase& c = GetParam();
    ASSERT_EQ(c.events.size(), c.handedOver.size());
    for (std::size_t i = 0; i < c.events.size(); ++i) {
        EXPECT_EQ(f.Event(c.events[i]), c.handedOver[i]) << "event " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScannerEvents,
    testing::Values(
        // A frame whole within one event is handed over by the next one, whatever it brings.
        EventCase{"WholeFrameWaitsForNextEvent", {"xx{ABC}", "z"}, {"", "{ABC}"}},
        EventCase{"SplitFrameCompletesAtOnce", {"{AB", "C}"}, {"", "{ABC}"}},
        EventCase{"InnerBraceIsPayload", {"{A{B}", ""}, {"", "{A{B}"}},
        EventCase{"LostEndRunsIntoNextFrame", {"{AB", "C{DE", "F}", ""}, {"", "", "{ABC{DEF}", ""}},
        EventCase{"OneFramePerEvent", {"{A}{B}", "", "", "", ""}, {"", "{A}", "", "{B}", ""}},
        EventCase{"NoiseNeverReachesTheDecoder", {"ab}cd", "ef", "x{}", "y"}, {"", "", "", "{}"}},
        EventCase{"ByteByByte",
                  {"q", "{", "1", "2", "}", "w", "{", "3", "}", ""},
                  {"", "", "", "", "{12}", "", "", "", "{3}", ""}}),
    [](const testing::TestParamInfo<EventCase>& param) { return param.param.name; });

TEST(FrameScanner, ClosingBraceStaysCountedUntilTheNextScan) {
    Fixture f;
    f.Event("{ABC}");
    EXPECT_EQ(f.Event(""), "{ABC}");
    EXPECT_EQ(f.scanner.RxCount(), 1);
    EXPECT_FALSE(f.scanner.FrameOpen());
    f.Event("");
    EXPECT_EQ(f.scanner.RxCount(), 0);
}

TEST(FrameScanner, EveryEventReloadsWatchdogAndOnlyBracesSetLinkActive) {
    Fixture f;
    f.scanner.SetLinkWatchdog(3);
    f.Event("abc");
    EXPECT_EQ(f.scanner.LinkWatchdog(), FrameScanner::kWatchdogTicks);
    EXPECT_FALSE(f.scanner.LinkActive());
    f.scanner.SetLinkWatchdog(0);
    f.Event("");
    EXPECT_EQ(f.scanner.LinkWatchdog(), FrameScanner::kWatchdogTicks);
    f.Event("a}b");
    EXPECT_TRUE(f.scanner.LinkActive());
    f.Event("abc");
    EXPECT_TRUE(f.scanner.LinkActive());  // only the link supervision clears it
    f.scanner.ClearLinkActive();
    f.Event("{");
    EXPECT_TRUE(f.scanner.LinkActive());
}

TEST(FrameScanner, ReceiveEventStartsLampBlinkOnlyWhenNoneIsShowing) {
    struct Case {
        std::int32_t before;
        std::int32_t after;
    };
    for (const Case c : {Case{0, 52}, Case{9, 52}, Case{-3, 52}, Case{10, 10}, Case{51, 51}}) {
        Fixture f;
        f.rxLed = c.before;
        f.Event("x");
        EXPECT_EQ(f.rxLed, c.after) << "before " << c.before;
    }
}

TEST(FrameScanner, FullRingOfNoiseIsThrownAwayInTheSameEvent) {
    Fixture f;
    f.Event(std::string(FrameScanner::kRingBytes, 'x'));
    EXPECT_EQ(f.scanner.RxCount(), 0);
    EXPECT_FALSE(f.scanner.FrameOpen());
    EXPECT_EQ(f.scanner.RxReadIndex(), f.scanner.RxWriteIndex());
}

TEST(FrameScanner, FullRingDropsBytesUnseen) {
    Fixture f;
    std::string queued;
    while (queued.size() + 3 <= FrameScanner::kRingBytes) {
        queued += "{A}";
    }
    queued.resize(FrameScanner::kRingBytes, 'x');
    f.Event(queued);  // takes "{A" of the first frame
    f.Event("yy");    // fills the ring and hands over "{A}"
    ASSERT_EQ(f.scanner.RxCount(), static_cast<std::int32_t>(FrameScanner::kRingBytes));

    f.scanner.ClearLinkActive();
    const std::int32_t writeIndex = f.scanner.RxWriteIndex();
    EXPECT_EQ(f.Event("}}{"), "");
    EXPECT_FALSE(f.scanner.LinkActive());
    EXPECT_EQ(f.scanner.RxWriteIndex(), writeIndex);
    // The scan of that event discarded the old '}' and took "{A" of the next queued frame.
    EXPECT_EQ(f.scanner.RxCount(), static_cast<std::int32_t>(FrameScanner::kRingBytes) - 3);
    EXPECT_EQ(f.Event(""), "{A}");
}

TEST(FrameScanner, FrameBufferLimit) {
    struct Case {
        std::size_t payload;
        bool handedOver;
    };
    // 1022 payload bytes make 1024 with both braces: the longest frame that fits.
    for (const Case c : {Case{1022, true}, Case{1023, false}, Case{3000, false}}) {
        Fixture f;
        const std::string frame = "{" + std::string(c.payload, 'p') + "}";
        for (std::size_t at = 0; at < frame.size(); at += 100) {
            f.Event(std::string_view(frame).substr(at, 100));
            EXPECT_LE(f.scanner.FrameLength(), 1024);
        }
        f.Event("{B}");
        f.Event("");
        // Whatever became of the long frame, the scanner carries on with the next one.
        const std::vector<std::string> expected =
            c.handedOver ? std::vector<std::string>{frame, "{B}"} : std::vector<std::string>{"{B}"};
        EXPECT_EQ(f.log.Frames, expected) << c.payload;
    }
}

TEST(FrameScanner, LongBlockIsReadInPassesOfAtMost2048) {
    // 2040 noise bytes, a frame, then more noise: in one pass the frame would wait for the next
    // event; as two passes the second one hands it over.
    std::string block = std::string(2040, 'n') + "{AB}" + std::string(56, 'n');
    Fixture whole;
    EXPECT_EQ(whole.Event(block), "{AB}");

    Fixture split;
    EXPECT_EQ(split.Event(std::string_view(block).substr(0, FrameScanner::kMaxReadBytes)), "");
    EXPECT_EQ(split.Event(std::string_view(block).substr(FrameScanner::kMaxReadBytes)), "{AB}");
    EXPECT_EQ(whole.scanner.RxCount(), split.scanner.RxCount());
    EXPECT_EQ(whole.scanner.RxReadIndex(), split.scanner.RxReadIndex());
}

TEST(FrameScanner, IndicesWrapAroundTheRing) {
    Fixture f;
    const std::string frame = "{" + std::string(97, 'v') + "}";
    std::size_t handed = 0;
    for (int i = 0; i < 100; ++i) {
        for (std::size_t at = 0; at < frame.size(); at += 9) {
            const std::string got = f.Event(std::string_view(frame).substr(at, 9));
            if (!got.empty()) {
                EXPECT_EQ(got, frame);
                ++handed;
            }
            const auto& s = f.scanner;
            EXPECT_EQ(s.RxWriteIndex(), (s.RxReadIndex() + s.RxCount()) % 2048);
        }
    }
    EXPECT_EQ(handed, 100u);  // 9800 bytes went through the 2048-byte ring
}

}  // namespace
}  // namespace volt
