#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/follower_step.h"
#include "graph/sample_recording.h"
#include "support/fake_windows.h"

namespace volt {
namespace {

constexpr std::uint8_t kDischarge = 1;
constexpr std::uint8_t kCharge = 2;

SampleReading Reading(std::int32_t v, std::int32_t i = 0, std::int32_t c = 0, std::int32_t t = 25) {
    SampleReading r;
    r.Voltage = v;
    r.Current = i;
    r.Capacity = c;
    r.Temperature = t;
    r.Cells.fill(static_cast<std::int16_t>(v / 3));
    return r;
}

class Recording : public ::testing::Test {
  protected:
    Recording() {
        colors.Set(kVoltageColor, 0x11);
        colors.Set(kCurrentColor, 0x22);
        colors.Set(kCapacityColor, 0x33);
        colors.Set(kTemperatureColor, 0x44);
        colors.Set(kCapacityArea, 0x55);
    }
    bool Append(std::uint8_t mode, const SampleReading& r) { return window.AppendSample(mode, r); }
    GraphModel& model() { return window.Model; }
    CgmHeader& header() { return window.Model.Document().Header; }
    const ChartSeries& series(SeriesKind kind) { return window.Model.Series(kind); }

    ColorScheme colors;
    LimitSettings limits = kDefaultLimitSettings;
    std::vector<std::string> log;
    test::FakeGraphWindow window{log, colors, limits, 0};
};

TEST_F(Recording, FirstChargeSampleSeedsRangesAndAddsPointsAtOnce) {
    ASSERT_TRUE(Append(kCharge, Reading(1200, 500, 0, 25)));
    EXPECT_EQ(header().VoltageMin, 1100);
    EXPECT_EQ(header().VoltageMax, 1600);
    EXPECT_EQ(header().CurrentMin, 0);
    EXPECT_EQ(header().CurrentMax, 1000);
    EXPECT_EQ(header().CapacityMax, 100);
    EXPECT_EQ(header().TemperatureMax, 100);
    EXPECT_EQ(header().SampleCount, 1);
    EXPECT_TRUE(IsOn(model().Document().Modified));
    EXPECT_EQ(header().Fahrenheit, 0);
    const ChartSeries& voltage = series(SeriesKind::Voltage);
    ASSERT_EQ(voltage.PointCount(), 1U);
    EXPECT_DOUBLE_EQ(voltage.Value(0), 200.0);
    EXPECT_EQ(voltage.PointColor(0), 0x11U);
    EXPECT_EQ(voltage.Label(0), "   00:01   ");
    EXPECT_DOUBLE_EQ(series(SeriesKind::Current).Value(0), 500.0);
    EXPECT_EQ(series(SeriesKind::Capacity).PointColor(0), 0x55U);
    EXPECT_EQ(series(SeriesKind::Temperature).PointColor(0), 0x44U);
    // The limit lines take a point per sample too, shown or not.
    EXPECT_EQ(series(SeriesKind::MaxLineCapacity).PointCount(), 1U);
    EXPECT_EQ(series(SeriesKind::MaxLineCapacity).PointColor(0), 0x33U);
    for (const auto& live : model().Document().SeriesLive) {
        EXPECT_TRUE(IsOn(live.load()));
    }
    EXPECT_EQ(model().Document().ListTail->Cells[11], 400);
}

TEST_F(Recording, ValueOnTheMaximumWidensAndRefillsTheSeriesAndItsLimitLine) {
    ASSERT_TRUE(Append(kDischarge, Reading(1200)));
    EXPECT_EQ(header().VoltageMin, 800);
    EXPECT_EQ(header().VoltageMax, 1300);
    SetLimits(model(), 1250, 0, 0, 0);
    model().JoinRefills();
    (void)model().TakeInstalledRefills();
    ASSERT_TRUE(Append(kDischarge, Reading(1300)));
    EXPECT_EQ(header().VoltageMax, 1400);
    model().JoinRefills();
    EXPECT_EQ(model().TakeInstalledRefills(), (1U << SeriesIndex(SeriesKind::Voltage)) |
                                                  (1U << SeriesIndex(SeriesKind::MaxLineVoltage)));
    const std::vector<ChartPoint> voltage = series(SeriesKind::Voltage).CopyPoints();
    EXPECT_EQ(voltage, (std::vector<ChartPoint>{{667.0F, 0x11}, {833.0F, 0x11}}));
    // The whole limit line is redrawn on the new range, not only its newest point.
    const std::vector<ChartPoint> line = series(SeriesKind::MaxLineVoltage).CopyPoints();
    EXPECT_EQ(line, (std::vector<ChartPoint>{{750.0F, 0x11}, {750.0F, 0x11}}));
    EXPECT_TRUE(series(SeriesKind::Voltage).Visible());
    EXPECT_FALSE(series(SeriesKind::MaxLineVoltage).Visible());
}

struct WideningCase {
    const char* name;
    SeriesKind kind;
    std::int32_t min;
    std::int32_t max;
    std::int32_t x;
    std::int32_t newMin;
    std::int32_t newMax;
};

class Widening : public Recording, public ::testing::WithParamInterface<WideningCase> {};

TEST_P(Widening, RecomputesTheBoundTheValueLeft) {
    const WideningCase& c = GetParam();
    ASSERT_TRUE(Append(0, Reading(0, 0, 0, 0)));
    model().JoinRefills();  // 0 V lies below the limits file's voltage range
    (void)model().TakeInstalledRefills();
    std::int32_t CgmHeader::*min = nullptr;
    std::int32_t CgmHeader::*max = nullptr;
    SampleReading r = Reading(0, 0, 0, 0);
    switch (c.kind) {
        case SeriesKind::Voltage:
            min = &CgmHeader::VoltageMin, max = &CgmHeader::VoltageMax, r.Voltage = c.x;
            break;
        case SeriesKind::Current:
            min = &CgmHeader::CurrentMin, max = &CgmHeader::CurrentMax, r.Current = c.x;
            break;
        case SeriesKind::Capacity:
            min = &CgmHeader::CapacityMin, max = &CgmHeader::CapacityMax, r.Capacity = c.x;
            break;
        default:
            min = &CgmHeader::TemperatureMin, max = &CgmHeader::TemperatureMax;
            r.Temperature = c.x;
            break;
    }
    header().*min = c.min;
    header().*max = c.max;
    ASSERT_TRUE(Append(0, r));
    EXPECT_EQ(header().*min, c.newMin);
    EXPECT_EQ(header().*max, c.newMax);
    const bool widened = c.newMin != c.min || c.newMax != c.max;
    model().JoinRefills();
    EXPECT_EQ((model().TakeInstalledRefills() >> SeriesIndex(c.kind)) & 1U, widened ? 1U : 0U);
    EXPECT_EQ(series(c.kind).PointCount(), 2U);
}

INSTANTIATE_TEST_SUITE_P(
    Recording, Widening,
    ::testing::Values(
        WideningCase{"VoltageInside", SeriesKind::Voltage, 0, 1000, 999, 0, 1000},
        WideningCase{"VoltageMax", SeriesKind::Voltage, 0, 1000, 1234, 0, 1300},
        WideningCase{"VoltageMaxSmall", SeriesKind::Voltage, -100, 10, 15, -100, 200},
        WideningCase{"VoltageNegativeMin", SeriesKind::Voltage, 0, 1000, -150, -200, 1000},
        WideningCase{"VoltageMinSmall", SeriesKind::Voltage, 0, 1000, -5, -200, 1000},
        WideningCase{"CurrentMax", SeriesKind::Current, 0, 1000, 1500, 0, 2500},
        WideningCase{"CurrentMaxSmall", SeriesKind::Current, -50, 5, 7, -50, 200},
        WideningCase{"CurrentMin", SeriesKind::Current, 0, 1000, -1234, -2200, 1000},
        WideningCase{"CapacityOnMax", SeriesKind::Capacity, 0, 100, 100, 0, 600},
        WideningCase{"CapacityMax", SeriesKind::Capacity, 0, 1200, 1234, 0, 1700},
        WideningCase{"CapacityZeroRange", SeriesKind::Capacity, 0, 0, 0, 0, 50},
        WideningCase{"CapacityMinSmall", SeriesKind::Capacity, 0, 100, -3, -50, 100},
        WideningCase{"TemperatureMax", SeriesKind::Temperature, 0, 100, 105, 0, 120},
        WideningCase{"TemperatureMaxSmall", SeriesKind::Temperature, -30, 10, 12, -30, 20},
        WideningCase{"TemperatureMin", SeriesKind::Temperature, 0, 100, -25, -40, 100}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(RecordingArithmetic, RoundTowardZeroAndFahrenheitConversion) {
    EXPECT_EQ(RoundTowardZero(1734, 100), 1700);
    EXPECT_EQ(RoundTowardZero(-250, 100), -200);
    EXPECT_EQ(RoundTowardZero(-9, 10), 0);
    EXPECT_EQ(RoundTowardZero(std::int64_t{1} << 40, 10), 2147483647);  // held in 32 bits
    const std::vector<std::pair<std::int32_t, std::int32_t>> fahrenheit = {
        {100, 212}, {0, 32}, {-40, -40}, {37, 99}, {-17, 1}, {1, 34}, {-18, 0}, {-1, 30}};
    for (const auto& [celsius, expected] : fahrenheit) {
        EXPECT_EQ(CelsiusToFahrenheit(celsius), expected) << celsius;
    }
}

TEST_F(Recording, FahrenheitReadingIsMarkedReducedAndConvertsTheStartingRange) {
    ASSERT_TRUE(Append(kCharge, Reading(1200, 0, 0, 1077)));
    EXPECT_EQ(header().Fahrenheit, 1);
    EXPECT_EQ(model().Document().ListTail->Temperature, 77);
    EXPECT_EQ(header().TemperatureMin, 32);
    EXPECT_EQ(header().TemperatureMax, 212);
    ASSERT_EQ(series(SeriesKind::Temperature).PointCount(), 1U);
    EXPECT_DOUBLE_EQ(series(SeriesKind::Temperature).Value(0), 250.0);
    EXPECT_EQ(window.Labels, (ValueLabelValues{1200, 0, 0, 1077, -1}));
}

TEST(FollowerSteps, LiveCapacityFallsFasterRefillIsEven) {
    struct Case {
        std::int32_t follower;
        std::int32_t value;
        std::int32_t liveCapacity;
        std::int32_t liveTemperature;
        std::int32_t refill;
    };
    const std::vector<Case> cases = {
        {0, 2000, 50, 50, 50},
        {2000, 0, 1900, 1950, 1950},
        {0, 500, 10, 10, 10},
        {500, 0, 450, 490, 490},
        {0, 100, 5, 5, 5},
        {100, 0, 95, 95, 95},
        {0, 8, 2, 2, 2},
        {8, 0, 6, 6, 6},
        {0, 1, 2, 2, 2},
        {5, 5, 5, 5, 5},
        {-300, -2000, -400, -350, -350},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveFollowerLive(c.follower, c.value, true), c.liveCapacity) << c.follower;
        EXPECT_EQ(MoveFollowerLive(c.follower, c.value, false), c.liveTemperature) << c.follower;
        EXPECT_EQ(MoveFollowerInRefill(c.follower, c.value), c.refill) << c.follower;
    }
}

TEST_F(Recording, SmoothingDrawsTheLiveFollowerNotBelowZero) {
    limits.CapacityMin = 100;
    limits.CapacityMax = 2100;  // half an axis unit per mAh
    header().Smoothing = kFlagOn;
    for (const std::int32_t capacity : {101, 100, 1500, 1500}) {
        ASSERT_TRUE(Append(kCharge, Reading(1200, 0, capacity, 25)));
    }
    // 101; overshoot to 99 (below the range: drawn at 0); +50 twice.
    EXPECT_EQ(model().Document().CapacityTrack.load(), 199);
    const std::vector<ChartPoint> capacity = series(SeriesKind::Capacity).CopyPoints();
    ASSERT_EQ(capacity.size(), 4U);
    EXPECT_FLOAT_EQ(capacity[0].Axis, 0.5F);
    EXPECT_FLOAT_EQ(capacity[1].Axis, 0.0F);
    EXPECT_FLOAT_EQ(capacity[2].Axis, 24.5F);
    EXPECT_FLOAT_EQ(capacity[3].Axis, 49.5F);
    header().Smoothing = kFlagOff;
    ASSERT_TRUE(Append(kCharge, Reading(1200, 0, 150, 25)));
    EXPECT_EQ(model().Document().CapacityTrack.load(), 150);
    EXPECT_FLOAT_EQ(series(SeriesKind::Capacity).CopyPoints()[4].Axis, 25.0F);
}

TEST_F(Recording, FullListRefusesWithoutAllocatingAndClosesTheCaption) {
    window.CaptionText = "Charge[Ch1,LiPo]  09/Dec 14:05 (>> Live <<)";
    GraphDocument& doc = model().Document();
    for (std::int32_t i = 0; i < kMaxSampleTime; ++i) {
        ASSERT_NE(AppendSampleNode(doc, {}), nullptr);
    }
    doc.Header.SampleCount = kMaxSampleTime;
    const SampleRecord* tail = doc.ListTail;
    log.clear();
    EXPECT_FALSE(Append(kCharge, Reading(1200, 0, 0, 1050)));
    EXPECT_EQ(doc.ListTail, tail);
    EXPECT_EQ(doc.Header.SampleCount, kMaxSampleTime);
    EXPECT_EQ(doc.Header.Fahrenheit, 0);
    EXPECT_EQ(window.CaptionText, "Charge[Ch1,LiPo]  09/Dec 14:05 [ END ]");
    EXPECT_EQ(log,
              (std::vector<std::string>{"w0.AppendSample(2,1200)",
                                        "w0.SetCaption(Charge[Ch1,LiPo]  09/Dec 14:05 [ END ])",
                                        "w0.DetachFromChannels"}));
}

TEST_F(Recording, ValueLabelsOnlyWhileThePointerIsOutsideThePlot) {
    ASSERT_TRUE(Append(kCharge, Reading(1260, 1500, 20, 30)));
    EXPECT_EQ(window.Labels, (ValueLabelValues{1260, 1500, 20, 30, -1}));
    model().Document().PointerInPlot = kFlagOn;
    ASSERT_TRUE(Append(kCharge, Reading(1300, 1500, 20, 30)));
    EXPECT_EQ(window.Labels.Voltage, 1260);

    EXPECT_EQ(FormatValueLabels({1260, 1500, 20, 1077, -1}),
              (ValueLabelTexts{"12.60 V", "1.50 A", "20 mAh", "77 F", "Direct"}));
    EXPECT_EQ(FormatValueLabels({-5, -250, -3, 25, 3725}, ','),
              (ValueLabelTexts{"-0,05 V", "-0,25 A", "-3 mAh", "25 C", "1:02:05"}));
}

TEST_F(Recording, SetLimitsShowsButtonsRefillsChangedLinesOnly) {
    EXPECT_EQ(model().Button(LimitButton::Voltage), (LimitButtonState{true, "Show Voltage Limit"}));
    EXPECT_EQ(model().Button(LimitButton::Capacity).Hint, "Show Capacity Limit");
    EXPECT_EQ(model().Button(LimitButton::Temperature).Hint, "Show Temperature Limit");
    SetLimits(model(), 0, 0, 0, 77);
    for (const auto& live : model().Document().SeriesLive) {
        EXPECT_TRUE(IsOn(live.load()));
    }
    for (const LimitButton b :
         {LimitButton::Voltage, LimitButton::Capacity, LimitButton::Temperature}) {
        EXPECT_FALSE(model().Button(b).Visible);
    }
    model().JoinRefills();
    EXPECT_EQ(model().TakeInstalledRefills(), 0U);
    SetLimits(model(), 420, 0, 0, 0);
    EXPECT_EQ(header().VoltageLimit, 420);
    EXPECT_EQ(model().Button(LimitButton::Voltage), (LimitButtonState{true, "420"}));
    model().JoinRefills();
    EXPECT_EQ(model().TakeInstalledRefills(), 1U << 4);
    SetRunInfo(model().Document(), 1, 2, 6);
    EXPECT_EQ(header().Channel, 1);
    EXPECT_EQ(header().Mode, 2);
    EXPECT_EQ(header().BatteryType, 6);
}

}  // namespace
}  // namespace volt
