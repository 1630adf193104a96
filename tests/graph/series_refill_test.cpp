#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "appearance/color_scheme.h"
#include "files/limit_settings.h"
#include "graph/graph_model.h"
#include "graph/series_refill.h"
#include "graph/view_commands.h"

namespace volt {
namespace {

class Refill : public ::testing::Test {
  protected:
    Refill() {
        colors.Set(kCapacityArea, 0x20);
        colors.Set(kTemperatureColor, 0x17);
        colors.Set(kVoltageColor, 0x14);
    }
    void AddSamples(const std::vector<std::int32_t>& values) {
        GraphDocument& doc = model.Document();
        for (const std::int32_t v : values) {
            SampleValues s;
            s.Voltage = v;
            s.Current = v;
            s.Capacity = v;
            s.Temperature = v;
            ASSERT_NE(AppendSampleNode(doc, s), nullptr);
            ++doc.Header.SampleCount;
        }
    }
    std::vector<float> Refilled(SeriesKind kind) {
        model.StartSeriesRefill(kind);
        model.JoinRefills();
        std::vector<float> axis;
        for (const ChartPoint& p : model.Series(kind).CopyPoints()) {
            axis.push_back(p.Axis);
        }
        return axis;
    }
    CgmHeader& header() { return model.Document().Header; }

    ColorScheme colors;
    LimitSettings limits = kDefaultLimitSettings;
    GraphModel model{colors, limits};
};

TEST_F(Refill, EmptyListClearsAndShowsTheSeriesByItsFlag) {
    model.Series(SeriesKind::Voltage).Append(5.0, 1);
    header().VoltageLimitShown = kFlagOn;
    model.Series(SeriesKind::MaxLineCapacity).SetVisible(true);
    header().CapacityLimitShown = kFlagOff;
    header().CurrentVisible = kFlagOff;
    for (const SeriesKind kind : {SeriesKind::Voltage, SeriesKind::Current,
                                  SeriesKind::MaxLineVoltage, SeriesKind::MaxLineCapacity}) {
        model.StartSeriesRefill(kind);
    }
    model.JoinRefills();
    EXPECT_EQ(model.Series(SeriesKind::Voltage).PointCount(), 0U);
    EXPECT_TRUE(model.Series(SeriesKind::Voltage).Visible());
    EXPECT_FALSE(model.Series(SeriesKind::Current).Visible());
    EXPECT_TRUE(model.Series(SeriesKind::MaxLineVoltage).Visible());
    EXPECT_FALSE(model.Series(SeriesKind::MaxLineCapacity).Visible());
    for (const auto& live : model.Document().SeriesLive) {
        EXPECT_TRUE(IsOn(live.load()));
    }
}

TEST_F(Refill, SmoothingStepsTheFollowerTheSameWayUpAndDown) {
    header().CapacityMin = 0;
    header().CapacityMax = 1000;  // axis value = value
    header().TemperatureMin = 0;
    header().TemperatureMax = 1000;
    header().Smoothing = kFlagOn;
    AddSamples({0, 0, 500, 8});
    EXPECT_EQ(Refilled(SeriesKind::Capacity), (std::vector<float>{0, 0, 10, 8}));
    EXPECT_EQ(model.Document().CapacityTrack.load(), 8);
    AddSamples({2000, 2000, 0});
    // 8 -> 2000 is d = 1992: +50; then +50; then down to 0 from 108: -10 (as the temperature).
    EXPECT_EQ(Refilled(SeriesKind::Temperature), (std::vector<float>{0, 0, 10, 8, 58, 108, 98}));
    EXPECT_EQ(model.Document().TemperatureTrack.load(), 98);
    EXPECT_EQ(model.Series(SeriesKind::Capacity).PointColor(0), 0x20U);
    EXPECT_EQ(model.Series(SeriesKind::Temperature).PointColor(0), 0x17U);

    header().CapacityMin = 100;  // a smoothed follower below the range is drawn at 0
    AddSamples({0});
    const std::vector<float> capacity = Refilled(SeriesKind::Capacity);
    EXPECT_EQ(capacity.front(), 0.0F);
}

TEST_F(Refill, UnsmoothedPointsAreScaledAndRoundedHalfToEven) {
    header().VoltageMin = 0;
    header().VoltageMax = 2000;  // half an axis unit per value unit
    header().CapacityMin = 0;
    header().CapacityMax = 2000;
    AddSamples({5, 7, 1, -3});
    EXPECT_EQ(Refilled(SeriesKind::Voltage), (std::vector<float>{2, 4, 0, -2}));
    EXPECT_EQ(Refilled(SeriesKind::Capacity), (std::vector<float>{2, 4, 0, -2}));
    EXPECT_EQ(model.Document().CapacityTrack.load(), -3);
    header().VoltageLimit = 1001;
    EXPECT_EQ(Refilled(SeriesKind::MaxLineVoltage), (std::vector<float>{500, 500, 500, 500}));
    EXPECT_EQ(model.Series(SeriesKind::Voltage).Label(0), "   00:01   ");
    EXPECT_EQ(model.Series(SeriesKind::Voltage).Label(3599), "   1:00:00   ");
    EXPECT_EQ(model.Series(SeriesKind::Current).Label(0), "");
}

TEST(ChartSeriesGenerations, OnlyTheNewestRefillInstallsAndMakesTheSeriesLive) {
    std::atomic<std::int32_t> live{kFlagOn};
    ChartSeries series(SeriesKind::Voltage, live);
    const std::uint64_t older = series.BeginRefill(true);
    const std::uint64_t newer = series.BeginRefill(true);
    EXPECT_FALSE(series.IsNewestRefill(older));
    EXPECT_FALSE(IsOn(live.load()));
    EXPECT_FALSE(series.Visible());

    std::vector<ChartPoint> newPoints = {{1.0F, 1}, {2.0F, 1}};
    std::vector<ChartPoint> oldPoints = {{9.0F, 9}};
    // The user hides the curve while the refill runs: the install keeps it hidden.
    series.SetVisible(false);
    EXPECT_TRUE(series.InstallRefill(newer, [&](auto& points) { points.swap(newPoints); }));
    EXPECT_TRUE(IsOn(live.load()));
    EXPECT_FALSE(series.Visible());
    // An older refill that ends later changes nothing.
    EXPECT_FALSE(series.InstallRefill(older, [&](auto& points) { points.swap(oldPoints); }));
    EXPECT_EQ(series.CopyPoints(), (std::vector<ChartPoint>{{1.0F, 1}, {2.0F, 1}}));
}

TEST(ChartSeriesGenerations, LiveAppendLeavesSamplesToARefillAndNeverDrawsOneTwice) {
    std::atomic<std::int32_t> live{kFlagOn};
    ChartSeries series(SeriesKind::Current, live);
    int made = 0;
    const auto make = [&] {
        ++made;
        return ChartPoint{3.0F, 3};
    };
    const auto inside = [] { return false; };
    EXPECT_EQ(series.AppendLive(1, inside, make), LiveAppend::Added);
    const std::uint64_t generation = series.BeginRefill(true);
    EXPECT_EQ(series.AppendLive(2, inside, make), LiveAppend::Skipped);
    // The install drew samples 1 to 3 (3 was linked just before the append below took the lock).
    ASSERT_TRUE(series.InstallRefill(generation, [](auto& points) {
        points = {{1.0F, 1}, {2.0F, 1}, {3.0F, 1}};
    }));
    EXPECT_EQ(series.AppendLive(3, inside, make), LiveAppend::AlreadyDrawn);
    EXPECT_EQ(series.AppendLive(
                  4, [] { return true; }, make),
              LiveAppend::Widened);
    EXPECT_EQ(series.AppendLive(4, inside, make), LiveAppend::Added);
    EXPECT_EQ(made, 2);
    EXPECT_EQ(series.PointCount(), 4U);
}

TEST_F(Refill, NewerRefillOfTheSameKindWinsAndCompletionIsReported) {
    std::atomic<int> notified{0};
    GraphModel notifying(colors, limits, [&] { notified.fetch_add(1); });
    GraphDocument& doc = notifying.Document();
    doc.Header.VoltageMin = 0;
    doc.Header.VoltageMax = 1000;
    for (int i = 0; i < 5000; ++i) {
        SampleValues s;
        s.Voltage = i % 1000;
        ASSERT_NE(AppendSampleNode(doc, s), nullptr);
        ++doc.Header.SampleCount;
    }
    notifying.StartSeriesRefill(SeriesKind::Voltage);
    doc.Header.VoltageMax = 2000;  // the range changes: a second refill supersedes the first
    notifying.StartSeriesRefill(SeriesKind::Voltage);
    notifying.JoinRefills();
    const std::vector<ChartPoint> points = notifying.Series(SeriesKind::Voltage).CopyPoints();
    ASSERT_EQ(points.size(), 5000U);
    EXPECT_EQ(points[999].Axis, 500.0F);  // 999 of 2000 -> 499.5 -> 500 (even)
    EXPECT_EQ(points[998].Axis, 499.0F);  // the older refill would have drawn 998
    EXPECT_EQ(notifying.TakeInstalledRefills(), 1U << SeriesIndex(SeriesKind::Voltage));
    EXPECT_EQ(notifying.TakeInstalledRefills(), 0U);
    EXPECT_GE(notified.load(), 1);
}

TEST_F(Refill, ViewCommandsToggleFlagsAndGiveTheButtonLooks) {
    EXPECT_EQ(RunViewCommand(nullptr, ViewCommand::Voltage), std::nullopt);
    EXPECT_EQ(UpdateViewButtons(model.Document()), ViewButtons{});

    auto buttons = RunViewCommand(&model, ViewCommand::Voltage);
    ASSERT_TRUE(buttons.has_value());
    EXPECT_EQ(buttons->VoltageImage, 9);
    EXPECT_FALSE(buttons->VoltageChecked);
    EXPECT_FALSE(model.Series(SeriesKind::Voltage).Visible());
    buttons = RunViewCommand(&model, ViewCommand::Voltage);
    EXPECT_EQ(buttons->VoltageImage, 8);
    EXPECT_TRUE(buttons->VoltageChecked);
    EXPECT_TRUE(IsOn(header().VoltageVisible));

    const std::vector<std::pair<ViewCommand, SeriesKind>> quantities = {
        {ViewCommand::Current, SeriesKind::Current},
        {ViewCommand::Capacity, SeriesKind::Capacity},
        {ViewCommand::Temperature, SeriesKind::Temperature}};
    for (const auto& [command, kind] : quantities) {
        EXPECT_TRUE(RunViewCommand(&model, command).has_value());
        EXPECT_FALSE(model.Series(kind).Visible());
    }
    buttons = RunViewCommand(&model, ViewCommand::Cursor);
    EXPECT_EQ(buttons->CursorImage, 17);
    EXPECT_TRUE(buttons->CursorChecked);
    buttons = RunViewCommand(&model, ViewCommand::Digital);
    EXPECT_EQ(buttons->DigitalImage, 21);
    EXPECT_TRUE(IsOn(header().Smoothing));
    const ViewButtons expected{8, 11, 13, 15, 17, 21, true, false, false, false, true};
    EXPECT_EQ(*buttons, expected);
    model.JoinRefills();
    EXPECT_EQ(model.TakeInstalledRefills(), (1U << 0) | (1U << 3));
    // The refills end by showing the series by their (now off) flags.
    EXPECT_FALSE(model.Series(SeriesKind::Capacity).Visible());
}

}  // namespace
}  // namespace volt
