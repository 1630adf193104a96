#include "monitor/frame_decoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "monitor/frame_encoder.h"

namespace volt {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Blank(std::size_t length) {
    Bytes frame(length, 0);
    frame.front() = '{';
    frame.back() = '}';
    return frame;
}

Bytes With(Bytes frame, std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
    for (const auto& [pos, value] : bytes) {
        frame.at(pos) = value;
    }
    return frame;
}

TEST(DecodeFrameBytes, KnownAnswers) {
    struct Case {
        const char* what;
        Bytes frame;
        std::int32_t ChannelReading::*field;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"Celsius", With(Blank(110), {{17, 0}, {18, 25}}), &ChannelReading::Temperature, 25},
        {"Fahrenheit", With(Blank(110), {{17, 10}, {18, 77}}), &ChannelReading::Temperature, 1077},
        {"CapacityTriple", With(Blank(110), {{6, 1}, {7, 23}, {8, 45}}), &ChannelReading::Capacity,
         12345},
        {"LowByteAbove99", With(Blank(110), {{15, 5}, {16, 120}}), &ChannelReading::Voltage, 620},
        {"Current", With(Blank(110), {{11, 1}, {12, 50}}), &ChannelReading::Current, 150},
        {"Channel2Current", With(Blank(110), {{65, 2}, {66, 5}}), nullptr, 205},
    };
    for (const Case& c : cases) {
        const DecodedFrame d = DecodeFrameBytes(c.frame, false);
        ASSERT_EQ(d.Layout, FrameLayout::TwoChannel) << c.what;
        const std::int32_t got =
            c.field != nullptr ? d.Channels[0].*c.field : d.Channels[1].Current;
        EXPECT_EQ(got, c.expected) << c.what;
    }
    const DecodedFrame input = DecodeFrameBytes(With(Blank(110), {{4, 12}, {5, 60}}), false);
    EXPECT_EQ(input.Channels[0].InputVoltage, 1260);
}

// Every field at its own position, with values the positions make distinct.
TEST(DecodeFrameBytes, TwoChannelPositions) {
    for (const std::size_t base : {std::size_t{0}, std::size_t{54}}) {
        Bytes frame = Blank(110);
        auto put = [&](std::size_t pos, std::uint8_t v) { frame.at(base + pos) = v; };
        put(1, 2);
        put(2, 5);
        put(3, 99);  // not read
        put(4, 15), put(5, 18);
        put(6, 1), put(7, 2), put(8, 3);
        put(9, 98), put(10, 97);  // not read
        put(11, 1), put(12, 50);
        put(13, 96), put(14, 95);  // not read
        put(15, 12), put(16, 34);
        put(17, 0), put(18, 26);
        const std::size_t cellPos[12] = {19, 21, 23, 25, 27, 29, 31, 33, 37, 39, 41, 43};
        for (std::uint8_t i = 0; i < 12; ++i) {
            put(cellPos[i], 3), put(cellPos[i] + 1, static_cast<std::uint8_t>(80 + i));
        }
        put(35, 94), put(36, 93);  // not read
        put(45, 55);
        put(46, 1), put(47, 20);
        put(48, 0), put(49, 22), put(50, 0);
        put(51, 12), put(52, 60);
        put(53, 92), put(54, 91);  // not read

        ChannelReading want;
        want.Status = 2;
        want.BatteryType = 5;
        want.InputVoltage = 1518;
        want.Capacity = 10203;
        want.Current = 150;
        want.Voltage = 1234;
        want.Temperature = 26;
        for (std::int16_t i = 0; i < 12; ++i) {
            want.Cells[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(380 + i);
        }
        want.TemperatureLimit = 55;
        want.ExtraLimit = 120;
        want.CapacityLimit = 2200;
        want.VoltageLimit = 1260;

        const DecodedFrame d = DecodeFrameBytes(frame, false);
        ASSERT_EQ(d.Layout, FrameLayout::TwoChannel);
        ASSERT_EQ(d.ChannelCount, 2u);
        EXPECT_EQ(d.Channels[base == 0 ? 0 : 1], want) << "base " << base;
        EXPECT_EQ(d.Channels[base == 0 ? 1 : 0], ChannelReading{}) << "base " << base;
    }
}

TEST(DecodeFrameBytes, SingleChannelPositions) {
    Bytes frame = Blank(76);
    for (std::size_t p : {1, 2, 3, 5, 6, 7, 9, 22, 25, 30, 39, 40, 69, 73}) {
        frame[p] = 77;  // not read
    }
    frame[8] = 1, frame[24] = 1;  // Status (1 + 1) x 1
    frame[23] = 4;
    frame[4] = 45;
    frame[31] = 30, frame[32] = 0;
    frame[33] = 0, frame[34] = 90;
    frame[35] = 14, frame[36] = 40;
    frame[37] = 0, frame[38] = 31;
    frame[41] = 12, frame[42] = 5;
    frame[43] = 127, frame[44] = 99;
    for (std::size_t i = 0; i < 12; ++i) {
        frame[45 + 2 * i] = 1, frame[46 + 2 * i] = static_cast<std::uint8_t>(20 + i);
    }
    ChannelReading want;
    want.Status = 2;
    want.BatteryType = 4;
    want.TemperatureLimit = 45;
    want.CapacityLimit = 3000;
    want.Current = 90;
    want.Voltage = 1440;
    want.Temperature = 31;
    want.InputVoltage = 1205;
    want.Capacity = 12799;
    for (std::size_t i = 0; i < 12; ++i) {
        want.Cells[i] = static_cast<std::int16_t>(120 + i);
    }
    const DecodedFrame d = DecodeFrameBytes(frame, true);
    ASSERT_EQ(d.Layout, FrameLayout::SingleChannel);
    ASSERT_EQ(d.ChannelCount, 1u);
    EXPECT_EQ(d.Channels[0], want);
}

TEST(DecodeFrameBytes, LayoutByLength) {
    struct Case {
        std::size_t length;
        bool oldLayout;
        FrameLayout layout;
    };
    const Case cases[] = {
        {0, true, FrameLayout::Ignored},        {2, false, FrameLayout::Ignored},
        {75, true, FrameLayout::Ignored},       {76, false, FrameLayout::Ignored},
        {76, true, FrameLayout::SingleChannel}, {77, true, FrameLayout::Ignored},
        {108, true, FrameLayout::Ignored},      {109, false, FrameLayout::TwoChannel},
        {110, true, FrameLayout::TwoChannel},   {1024, false, FrameLayout::TwoChannel},
    };
    for (const Case& c : cases) {
        Bytes frame(c.length, 1);
        if (c.length > 0) {
            frame.front() = '{';
            frame.back() = '}';
        }
        const DecodedFrame d = DecodeFrameBytes(frame, c.oldLayout);
        EXPECT_EQ(d.Layout, c.layout) << c.length << " old " << c.oldLayout;
        if (c.layout == FrameLayout::Ignored) {
            EXPECT_EQ(d.ChannelCount, 0u);
        }
    }
}

TEST(DecodeFrameBytes, ShortestTwoChannelFrameReadsUpToPosition106) {
    const Bytes frame = With(Blank(109), {{105, 4}, {106, 20}, {107, 0x7F}});
    const DecodedFrame d = DecodeFrameBytes(frame, false);
    ASSERT_EQ(d.Layout, FrameLayout::TwoChannel);
    EXPECT_EQ(d.Channels[1].VoltageLimit, 420);
}

TEST(DecodeFrameBytes, SingleChannelStatusIsAProduct) {
    struct Case {
        std::uint8_t base;    // position 8
        std::uint8_t factor;  // position 24
        FrameLayout layout;
        std::uint8_t status;
    };
    const Case cases[] = {
        {1, 1, FrameLayout::SingleChannel, 2}, {0, 1, FrameLayout::SingleChannel, 1},
        {0, 0, FrameLayout::SingleChannel, 0}, {127, 0, FrameLayout::SingleChannel, 0},
        {0, 3, FrameLayout::SingleChannel, 3}, {1, 2, FrameLayout::Rejected, 0},
        {127, 127, FrameLayout::Rejected, 0},  {0x80 | 1, 0x80 | 1, FrameLayout::SingleChannel, 2},
    };
    for (const Case& c : cases) {
        const DecodedFrame d =
            DecodeFrameBytes(With(Blank(76), {{8, c.base}, {24, c.factor}}), true);
        EXPECT_EQ(d.Layout, c.layout) << int{c.base} << "," << int{c.factor};
        EXPECT_EQ(d.Channels[0].Status, c.status) << int{c.base} << "," << int{c.factor};
    }
}

TEST(DecodeFrameBytes, ValuesOutsideTheModelRejectTheWholeFrame) {
    struct Case {
        std::size_t pos;
        std::uint8_t value;
        FrameLayout layout;
    };
    const Case cases[] = {
        {1, 3, FrameLayout::TwoChannel},     {1, 4, FrameLayout::Rejected},
        {2, 6, FrameLayout::TwoChannel},     {2, 7, FrameLayout::Rejected},
        {55, 4, FrameLayout::Rejected},      {56, 127, FrameLayout::Rejected},
        {56, 0x86, FrameLayout::TwoChannel},  // bit 7 stripped: 6
    };
    for (const Case& c : cases) {
        const DecodedFrame d =
            DecodeFrameBytes(With(Blank(110), {{1, 2}, {c.pos, c.value}}), false);
        EXPECT_EQ(d.Layout, c.layout) << c.pos << "=" << int{c.value};
        if (c.layout == FrameLayout::Rejected) {
            EXPECT_EQ(d.ChannelCount, 0u);
        }
    }
    const DecodedFrame single = DecodeFrameBytes(With(Blank(76), {{23, 7}}), true);
    EXPECT_EQ(single.Layout, FrameLayout::Rejected);
}

TEST(DecodeFrameBytes, Bit7IsStrippedFromACopyOfThePayloadOnly) {
    ChannelReading ch1;
    ch1.Status = 1;
    ch1.Voltage = 1111;
    ch1.Cells[11] = 422;
    ChannelReading ch2;
    ch2.VoltageLimit = 1680;
    const Bytes clear = EncodeTwoChannelFrame(ch1, ch2);
    Bytes high = clear;
    for (std::size_t p = 1; p + 2 < high.size(); ++p) {
        high[p] |= 0x80;
    }
    const Bytes sent = high;
    const DecodedFrame a = DecodeFrameBytes(clear, false);
    const DecodedFrame b = DecodeFrameBytes(high, false);
    EXPECT_EQ(high, sent);
    ASSERT_EQ(b.Layout, FrameLayout::TwoChannel);
    EXPECT_EQ(a.Channels, b.Channels);
    EXPECT_EQ(b.Channels[0], ch1);
    EXPECT_EQ(b.Channels[1], ch2);
}

ChannelReading Reading(std::uint8_t status, std::uint8_t type, std::int32_t base) {
    ChannelReading r;
    r.Status = status;
    r.BatteryType = type;
    r.Voltage = base;
    r.Current = base / 3;
    r.Capacity = base * 7;
    r.Temperature = 1000 + base % 200;
    for (std::size_t i = 0; i < kCellCount; ++i) {
        r.Cells[i] = static_cast<std::int16_t>((base + 37 * static_cast<std::int32_t>(i)) % 12828);
    }
    r.InputVoltage = static_cast<std::int16_t>(base % 12828);
    r.TemperatureLimit = static_cast<std::int16_t>(base % 128);
    r.ExtraLimit = static_cast<std::int16_t>((base * 3) % 12828);
    r.CapacityLimit = base * 11;
    r.VoltageLimit = static_cast<std::int16_t>((base + 5) % 12828);
    return r;
}

ChannelReading Largest() {
    ChannelReading r = Reading(3, 6, 12827);
    r.Capacity = 1282827;
    r.CapacityLimit = 1280099;
    r.TemperatureLimit = 127;
    r.Cells.fill(12827);
    return r;
}

TEST(FrameEncoder, RoundTripsThroughTheDecoder) {
    const std::vector<ChannelReading> readings = {
        Largest(),
        ChannelReading{},
        Reading(0, 0, 1),
        Reading(1, 1, 1260),
        Reading(2, 6, 12345),
        Reading(3, 3, 12500),
        Reading(2, 2, 12827),
        Reading(1, 4, 99),
        Reading(2, 5, 12300),  // bytes of 123 read as '{'
    };
    for (const ChannelReading& a : readings) {
        for (const ChannelReading& b : {ChannelReading{}, Reading(2, 1, 777)}) {
            for (const std::size_t length : {109, 110, 200, 1024}) {
                for (const std::size_t every : {0, 1, 3}) {
                    const Bytes frame = EncodeTwoChannelFrame(a, b, {length, every});
                    ASSERT_EQ(frame.size(), length);
                    for (std::size_t p = 1; p + 1 < frame.size(); ++p) {
                        ASSERT_TRUE(frame[p] != '{' && frame[p] != '}') << "position " << p;
                    }
                    const DecodedFrame d = DecodeFrameBytes(frame, false);
                    ASSERT_EQ(d.Layout, FrameLayout::TwoChannel);
                    EXPECT_EQ(d.Channels[0], a);
                    EXPECT_EQ(d.Channels[1], b);
                }
            }
        }
        // The single-channel layout carries a pair capacity and no ExtraLimit or VoltageLimit.
        ChannelReading single = a;
        single.Capacity %= 12828;
        single.CapacityLimit %= 12828;
        single.ExtraLimit = 0;
        single.VoltageLimit = 0;
        for (const std::size_t every : {0, 2}) {
            const DecodedFrame d =
                DecodeFrameBytes(EncodeSingleChannelFrame(single, {0, every}), true);
            ASSERT_EQ(d.Layout, FrameLayout::SingleChannel);
            EXPECT_EQ(d.Channels[0], single);
        }
    }
}

TEST(FrameEncoder, RefusesWhatTheFrameCannotCarry) {
    ChannelReading r;
    r.Status = 4;
    EXPECT_THROW((void)EncodeTwoChannelFrame(r, {}), std::out_of_range);
    r = {};
    r.BatteryType = 7;
    EXPECT_THROW((void)EncodeSingleChannelFrame(r), std::out_of_range);
    r = {};
    r.Voltage = 12828;
    EXPECT_THROW((void)EncodeTwoChannelFrame({}, r), std::out_of_range);
    r = {};
    r.Current = -1;
    EXPECT_THROW((void)EncodeTwoChannelFrame(r, {}), std::out_of_range);
    r = {};
    r.Capacity = 12828;  // a pair in the single-channel layout
    EXPECT_NO_THROW((void)EncodeTwoChannelFrame(r, {}));
    EXPECT_THROW((void)EncodeSingleChannelFrame(r), std::out_of_range);
    EXPECT_THROW((void)EncodeTwoChannelFrame({}, {}, {108, 0}), std::out_of_range);
    EXPECT_THROW((void)EncodeTwoChannelFrame({}, {}, {1025, 0}), std::out_of_range);
}

}  // namespace
}  // namespace volt
