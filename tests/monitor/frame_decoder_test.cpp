#include "monitor/frame_decoder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "monitor/frame_encoder.h"
#include "support/recording_channel_sink.h"
#include "support/temp_dir.h"

namespace volt {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Calls = std::vector<std::string>;

ChannelReading Charging(std::int32_t voltage) {
    ChannelReading r;
    r.Status = 2;
    r.BatteryType = 1;
    r.Voltage = voltage;
    r.Current = 150;
    r.Capacity = 321;
    r.Temperature = 25;
    r.Cells = {410, 411, 412};
    r.InputVoltage = 1518;
    r.TemperatureLimit = 50;
    r.ExtraLimit = 120;
    r.CapacityLimit = 2200;
    r.VoltageLimit = 1260;
    return r;
}

ChannelReading Idle(std::int16_t input) {
    ChannelReading r;
    r.InputVoltage = input;
    return r;
}

struct Fixture {
    test::TempDir dir;
    test::RecordingChannelSink sink;
    BatteryTypeNames names;
    FrameDecoder decoder{sink, names, dir.Path().string() + "/"};

    void Names(const char* file, const char* contents) {
        test::WriteFile(dir.File(file), contents);
    }
};

Bytes TwoChannel(std::size_t length = 110) {
    return EncodeTwoChannelFrame(Charging(1233), Idle(1517), {length, 0});
}

TEST(FrameDecoder, AppliesBothChannelsInOrder) {
    Fixture f;
    f.decoder.DecodeFrame(TwoChannel());
    const Calls expected = {"ShowChannel2(true)",     "SetInputVoltages(1518,1517)",
                            "UpdateChannelStatus(0)", "UpdateChannelCells(0)",
                            "StoreChannelLimits(0)",  "UpdateChannelStatus(1)",
                            "UpdateChannelCells(1)",  "StoreChannelLimits(1)"};
    EXPECT_EQ(f.sink.Calls, expected);
    EXPECT_EQ(f.sink.Reading(0), Charging(1233));
    EXPECT_EQ(f.sink.Reading(1), Idle(1517));
    EXPECT_EQ(f.decoder.LastFrameLength(), 110);
}

TEST(FrameDecoder, SingleChannelFrameKeepsChannel2InputVoltage) {
    Fixture f;
    f.decoder.SetOldLayoutEnabled(true);
    f.sink.InputVoltages = {0, 777};
    ChannelReading reading = Charging(1180);
    reading.ExtraLimit = 0;
    reading.VoltageLimit = 0;
    f.decoder.DecodeFrame(EncodeSingleChannelFrame(reading));
    const Calls expected = {"ShowChannel2(false)", "SetInputVoltages(1518,777)",
                            "UpdateChannelStatus(0)", "UpdateChannelCells(0)",
                            "StoreChannelLimits(0)"};
    EXPECT_EQ(f.sink.Calls, expected);
    EXPECT_EQ(f.sink.Reading(0), reading);
}

TEST(FrameDecoder, LengthChangeReloadsNamesAndShowsOrHidesChannel2) {
    Fixture f;
    f.decoder.SetOldLayoutEnabled(true);
    f.Names("BatType.Txt", "\nTwo-A\n");
    f.Names("BatTypeOld.Txt", "\nOld-A\n");
    ChannelReading single = Charging(1180);
    single.ExtraLimit = 0;
    single.VoltageLimit = 0;

    struct Step {
        Bytes frame;
        const char* rewriteTwo;  // BatType.Txt's line 2 before this frame, to see a reload
        const char* name1;       // names[1] afterwards
        const char* shown;       // the ShowChannel2 call of this frame, "" for none
    };
    const Step steps[] = {
        {TwoChannel(110), nullptr, "Two-A", "ShowChannel2(true)"},  // first frame is a change
        {TwoChannel(110), "Two-B", "Two-A", ""},                    // same length: no reload
        {EncodeSingleChannelFrame(single), nullptr, "Old-A", "ShowChannel2(false)"},
        {TwoChannel(110), nullptr, "Two-B", "ShowChannel2(true)"},
        {TwoChannel(112), "Two-C", "Two-C", "ShowChannel2(true)"},  // 110 -> 112 reloads
        {Bytes(108, '{'), "Two-D", "Two-C", ""},                    // ignored: no change
        {TwoChannel(112), nullptr, "Two-C", ""},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        if (s.rewriteTwo != nullptr) {
            f.Names("BatType.Txt", (std::string("\n") + s.rewriteTwo + "\n").c_str());
        }
        f.sink.Calls.clear();
        f.decoder.DecodeFrame(s.frame);
        EXPECT_EQ(f.names[1], s.name1) << "step " << i;
        const bool showCalled = !f.sink.Calls.empty() && f.sink.Calls.front().starts_with("Show");
        EXPECT_EQ(showCalled ? f.sink.Calls.front() : "", s.shown) << "step " << i;
    }
    EXPECT_EQ(f.decoder.LastFrameLength(), 112);
}

TEST(FrameDecoder, RejectedFrameChangesLengthButAppliesNothing) {
    Fixture f;
    f.Names("BatType.Txt", "\nFromFile\n");
    Bytes bad = TwoChannel(111);
    bad[55] = 9;  // channel 2 Status
    f.decoder.DecodeFrame(bad);
    EXPECT_EQ(f.sink.Calls, Calls{"ShowChannel2(true)"});
    EXPECT_EQ(f.names[1], "FromFile");
    EXPECT_EQ(f.decoder.LastFrameLength(), 111);
    EXPECT_FALSE(f.decoder.DecoderBusy().IsSet());

    f.sink.Calls.clear();
    f.decoder.DecodeFrame(TwoChannel(111));
    EXPECT_EQ(f.sink.Calls.size(), 7u);  // no reload, both channels applied
    EXPECT_EQ(f.sink.Reading(0), Charging(1233));
}

TEST(FrameDecoder, BusyDecoderDropsTheFrame) {
    Fixture f;
    {
        const BusyGuard tick(f.decoder.DecoderBusy());  // the recording tick is running
        ASSERT_TRUE(tick.Acquired());
        f.decoder.DecodeFrame(TwoChannel());
        EXPECT_TRUE(f.sink.Calls.empty());
        EXPECT_EQ(f.decoder.LastFrameLength(), 0);
        const BusyGuard inner(f.decoder.DecoderBusy());
        EXPECT_FALSE(inner.Acquired());
    }
    EXPECT_FALSE(f.decoder.DecoderBusy().IsSet());
    f.decoder.DecodeFrame(TwoChannel());
    EXPECT_EQ(f.sink.Calls.size(), 8u);
    EXPECT_FALSE(f.decoder.DecoderBusy().IsSet());
}

TEST(FrameDecoder, BusyFlagIsClearedWhenTheSinkThrows) {
    struct ThrowingSink : test::RecordingChannelSink {
        void UpdateChannelCells(int, const CellVoltages&) override {
            throw std::runtime_error("Out of Memory");
        }
    };
    ThrowingSink sink;
    BatteryTypeNames names;
    FrameDecoder decoder(sink, names, "");
    EXPECT_THROW(decoder.DecodeFrame(TwoChannel()), std::runtime_error);
    EXPECT_FALSE(decoder.DecoderBusy().IsSet());
}

TEST(FrameDecoder, RunSwitchedOffChangesNothing) {
    Fixture f;
    EXPECT_TRUE(f.decoder.RunEnabled());
    f.decoder.SetRunEnabled(false);
    f.decoder.DecodeFrame(TwoChannel());
    EXPECT_TRUE(f.sink.Calls.empty());
    EXPECT_EQ(f.decoder.LastFrameLength(), 0);
    f.decoder.SetRunEnabled(true);
    f.decoder.DecodeFrame(TwoChannel());
    EXPECT_EQ(f.sink.Calls.size(), 8u);
}

TEST(BatteryTypeNames, MissingFileSetsDefaults) {
    test::TempDir dir;
    BatteryTypeNames names;
    names.Set(2, "changed");
    LoadBatteryTypeNames(names, dir.File("BatType.Txt"));
    const char* defaults[] = {"", "LiPo", "LiFe(A123)", "LiIo", "NiMh", "NiCd", "Pb"};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(names[i], defaults[i]) << i;
    }
    EXPECT_EQ(names[7], "");
}

TEST(BatteryTypeNames, FileLines) {
    const std::string long70(70, 'L');
    struct Case {
        const char* what;
        std::string contents;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"SevenLf", "a\nb\nc\nd\ne\nf\ng\n", {"a", "b", "c", "d", "e", "f", "g"}},
        {"CrLfAndNoFinalEnd", "a\r\nb\r\n\r\nd\ne\nf\r\ng", {"a", "b", "", "d", "e", "f", "g"}},
        {"MoreThanSeven", "0\n1\n2\n3\n4\n5\n6\n7\n8\n", {"0", "1", "2", "3", "4", "5", "6"}},
        // Entries without a line keep what they held (here the marks set before loading).
        {"Short", "x\ny\n", {"x", "y", "k2", "k3", "k4", "k5", "k6"}},
        {"Empty", "", {"k0", "k1", "k2", "k3", "k4", "k5", "k6"}},
        {"LongLineCut",
         long70 + "\n\xE9t\xE9\n",
         {std::string(64, 'L'), "\xE9t\xE9", "k2", "k3", "k4", "k5", "k6"}},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::WriteFile(dir.File("names.txt"), c.contents);
        BatteryTypeNames names;
        for (std::size_t i = 0; i < 7; ++i) {
            names.Set(i, "k" + std::to_string(i));
        }
        LoadBatteryTypeNames(names, dir.File("names.txt"));
        for (std::size_t i = 0; i < 7; ++i) {
            EXPECT_EQ(names[i], c.expected[i]) << c.what << " entry " << i;
        }
    }
}

}  // namespace
}  // namespace volt
