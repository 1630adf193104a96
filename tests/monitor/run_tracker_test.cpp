#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/battery_type_names.h"
#include "monitor/frame_decoder.h"
#include "monitor/run_title.h"
#include "monitor/run_tracker.h"
#include "support/fake_windows.h"
#include "support/recording_channel_sink.h"

namespace volt {
namespace {

using test::FakeClock;
using test::FakeMonitorView;

const std::string kChargeTitle = "Charge[Ch1,LiPo]  09/Dec 14:05";

class RunTrackerTest : public ::testing::Test {
  protected:
    RunTrackerTest() { view.Tracker = &tracker; }

    void Frame(int channel, std::uint8_t status, std::int32_t voltage = 1200) {
        tracker.UpdateChannelStatus(channel, status, 1, voltage, 150, 20, 25);
        CellVoltages cells{};
        cells.fill(400);
        tracker.UpdateChannelCells(channel, cells);
        tracker.StoreChannelLimits(channel, 420, 0, 0, 0);
    }
    [[nodiscard]] std::int32_t Samples(std::size_t window) {
        return view.Window(window).Model.Document().Header.SampleCount;
    }

    FakeMonitorView view;
    FakeClock clock;
    BatteryTypeNames names;
    RunTracker tracker{view, clock, names};
};

TEST_F(RunTrackerTest, ChargeRunOpensTitledWindowRecordsEachTickAndEndsOnIdle) {
    Frame(0, 0);
    EXPECT_TRUE(view.Windows.empty());
    view.Log.clear();
    Frame(0, 2);
    ASSERT_EQ(view.Windows.size(), 1U);
    const std::vector<std::string> start = {
        "CreateGraphWindow -> w0",
        "w0.SetCaption(" + kChargeTitle + " (>> Live <<))",
        "w0.SetChartTitle(" + kChargeTitle + ")",
        "w0.SetTitle",
        "ShowChannelButtons",
        "w0.BringToFront",
        "PaintChannelOutline",
        "w0.FormActivate",
        "ShowChannelValues",
        "ShowCells",
    };
    EXPECT_EQ(view.Log, start);
    EXPECT_EQ(TitleText(view.Window(0).Model.Document().Header), kChargeTitle);
    EXPECT_TRUE(IsOn(tracker.Channel(0).Recording));
    EXPECT_TRUE(tracker.RecordsInto(&view.Window(0)));

    for (int second = 1; second <= 3; ++second) {
        tracker.GrapMainTimerTimer();
        EXPECT_EQ(Samples(0), second);
        EXPECT_EQ(tracker.Channel(0).ElapsedSeconds, second);
        if (second < 3) {
            Frame(0, 2);
        }
    }
    const CgmHeader& h = view.Window(0).Model.Document().Header;
    EXPECT_EQ(h.Mode, 2);
    EXPECT_EQ(h.BatteryType, 1);
    EXPECT_EQ(h.Channel, 0);
    EXPECT_EQ(h.VoltageLimit, 420);
    EXPECT_EQ(view.Window(0).Model.Document().ListTail->Current, 1500);  // 1/100 A x 10 = mA

    Frame(0, 0);
    EXPECT_EQ(view.Window(0).CaptionText, kChargeTitle + " [ END ]");
    EXPECT_EQ(view.Window(0).ChartTitle, kChargeTitle);
    EXPECT_FALSE(IsOn(tracker.Channel(0).Recording));
    EXPECT_FALSE(tracker.RecordsInto(&view.Window(0)));
    EXPECT_EQ(tracker.Channel(0).ElapsedSeconds, 0);
    EXPECT_EQ(tracker.Channel(0).Voltage, 0);
    EXPECT_EQ(tracker.Channel(0).Cells, CellVoltages{});
    tracker.GrapMainTimerTimer();
    EXPECT_EQ(Samples(0), 3);
}

struct StatusCase {
    const char* name;
    std::vector<std::uint8_t> statuses;
    std::vector<std::string> captionEnds;  // per window: "Live" or "END"
    bool recording;
    std::uint8_t lastSampleMode;  // of the last window after one more tick; 0 = no sample
};

class StatusSequences : public RunTrackerTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(StatusSequences, FollowTheRunStateTable) {
    const StatusCase& c = GetParam();
    for (const std::uint8_t status : c.statuses) {
        Frame(0, status);
    }
    tracker.GrapMainTimerTimer();
    ASSERT_EQ(view.Windows.size(), c.captionEnds.size());
    for (std::size_t i = 0; i < c.captionEnds.size(); ++i) {
        const std::string& caption = view.Window(i).CaptionText;
        const std::string_view end = c.captionEnds[i] == "Live" ? kLiveCaptionSuffix : kEndMarker;
        EXPECT_TRUE(caption.ends_with(end)) << caption;
    }
    EXPECT_EQ(IsOn(tracker.Channel(0).Recording), c.recording);
    if (!view.Windows.empty()) {
        const GraphDocument& doc = view.Windows.back()->Model.Document();
        EXPECT_EQ(doc.Header.SampleCount, c.lastSampleMode == 0 ? 0 : 1);
        if (c.lastSampleMode != 0) {
            EXPECT_EQ(doc.Header.Mode, c.lastSampleMode);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    RunTracker, StatusSequences,
    ::testing::Values(StatusCase{"IdleStaysIdle", {0, 0}, {}, false, 0},
                      StatusCase{"DischargeStarts", {0, 1}, {"Live"}, true, 1},
                      StatusCase{"SameStatusNoNewWindow", {2, 2, 2}, {"Live"}, true, 2},
                      StatusCase{
                          "ChargeThenDischargeTwoWindows", {2, 1}, {"Live", "Live"}, true, 1},
                      StatusCase{"FourthStateOnIdleNoWindow", {0, 3}, {}, false, 0},
                      StatusCase{"FourthStateKeepsRecording", {2, 3}, {"Live"}, true, 3},
                      StatusCase{"FourthStateThenIdleEnds", {2, 3, 0}, {"END"}, false, 0},
                      StatusCase{"IdleAfterFourthWithoutWindow", {3, 0}, {}, false, 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(RunTrackerTest, FullWindowRefusesAndNextFrameContinuesInFreshWindow) {
    Frame(0, 2);
    tracker.GrapMainTimerTimer();
    auto& first = view.Window(0);
    GraphDocument& doc = first.Model.Document();
    while (doc.ListTail->TimeIndex < kMaxSampleTime) {
        ASSERT_NE(AppendSampleNode(doc, {}), nullptr);
        ++doc.Header.SampleCount;
    }
    Frame(0, 2);
    view.Log.clear();
    tracker.GrapMainTimerTimer();
    EXPECT_EQ(view.Log, (std::vector<std::string>{"w0.AppendSample(2,1200)",
                                                  "w0.SetCaption(" + kChargeTitle + " [ END ])",
                                                  "w0.DetachFromChannels", "ShowElapsedTime"}));
    EXPECT_EQ(doc.ListTail->TimeIndex, kMaxSampleTime);
    EXPECT_EQ(tracker.Channel(0).Graph, nullptr);
    EXPECT_EQ(tracker.Channel(0).Status, 0);
    EXPECT_TRUE(IsOn(tracker.Channel(0).Recording));
    EXPECT_EQ(tracker.Channel(0).ElapsedSeconds, 2);

    Frame(0, 2);  // the charger never reported idle
    ASSERT_EQ(view.Windows.size(), 2U);
    tracker.GrapMainTimerTimer();
    EXPECT_EQ(Samples(1), 1);
    EXPECT_EQ(tracker.Channel(0).ElapsedSeconds, 3);  // no idle frame came in between
}

TEST_F(RunTrackerTest, TickDoesNothingWhileDecoderBusy) {
    FrameDecoder decoder(tracker, names, "");
    tracker.AttachDecoder(decoder);
    Frame(0, 2);
    {
        const BusyGuard busy(decoder.DecoderBusy());
        tracker.GrapMainTimerTimer();
        EXPECT_EQ(Samples(0), 0);
    }
    tracker.GrapMainTimerTimer();
    EXPECT_EQ(Samples(0), 1);
    EXPECT_FALSE(decoder.DecoderBusy().IsSet());
}

TEST_F(RunTrackerTest, IdleChannelHandsSelectionToTheRecordingOne) {
    Frame(0, 2);
    Frame(1, 1);
    EXPECT_EQ(tracker.SelectedChannel(), 1);
    EXPECT_EQ(view.Button2, (ChannelButtonLook{"2", kSelectChannel, true}));
    EXPECT_EQ(view.Button1, (ChannelButtonLook{"1", kUnSelectedChannel, false}));
    EXPECT_EQ(view.Window(1).CaptionText, "Discharge[Ch2,LiPo]  09/Dec 14:05 (>> Live <<)");
    Frame(1, 0);
    EXPECT_EQ(tracker.SelectedChannel(), 0);
    Frame(0, 0);  // the other channel no longer records: the selection stays
    EXPECT_EQ(tracker.SelectedChannel(), 0);
}

TEST(RunTrackerReset, LinkLostResetIsTheFixedChannelSinkSequence) {
    test::RecordingChannelSink sink;
    sink.Readings[1].Voltage = 1234;
    sink.Readings[1].Cells.fill(3);
    ResetChannels(sink);
    EXPECT_EQ(sink.Calls,
              (std::vector<std::string>{"SetInputVoltages(0,0)", "UpdateChannelStatus(0)",
                                        "UpdateChannelCells(0)", "UpdateChannelStatus(1)",
                                        "UpdateChannelCells(1)"}));
    EXPECT_EQ(sink.Reading(1), ChannelReading{});
}

struct RunPress {
    const char* name;
    MouseButton button;
    bool ctrl;
    bool leftHeldBefore;
    bool toggles;
};

class RunSwitch : public RunTrackerTest, public ::testing::WithParamInterface<RunPress> {};

TEST_P(RunSwitch, TogglesOnlyWithCtrlOrRightWhileLeftHeld) {
    const RunPress& p = GetParam();
    if (p.leftHeldBefore) {
        tracker.RunBtnMouseDown(MouseButton::Left, false);
    }
    tracker.RunBtnMouseDown(p.button, p.ctrl);
    EXPECT_EQ(tracker.RunEnabled(), !p.toggles);
    EXPECT_EQ(tracker.LeftButtonHeld(), p.leftHeldBefore || p.button == MouseButton::Left);
    tracker.RunBtnMouseUp(MouseButton::Left);
    EXPECT_FALSE(tracker.LeftButtonHeld());
}

INSTANTIATE_TEST_SUITE_P(
    RunTracker, RunSwitch,
    ::testing::Values(RunPress{"PlainLeftClick", MouseButton::Left, false, false, false},
                      RunPress{"CtrlLeftClick", MouseButton::Left, true, false, true},
                      RunPress{"CtrlRightClick", MouseButton::Right, true, false, true},
                      RunPress{"RightWhileLeftHeld", MouseButton::Right, false, true, true},
                      RunPress{"PlainRightClick", MouseButton::Right, false, false, false},
                      RunPress{"SecondLeftWhileHeld", MouseButton::Left, false, true, false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(RunTrackerTest, RunOffEndsTheRunLikeIdleAndOnStartsNothing) {
    FrameDecoder decoder(tracker, names, "");
    tracker.AttachDecoder(decoder);
    Frame(0, 2);
    tracker.GrapMainTimerTimer();
    tracker.SetInputVoltages(1500, 0);
    view.Window(0).Model.Document().Header.BatteryType = 4;
    view.Log.clear();

    tracker.RunBtnMouseDown(MouseButton::Left, true);
    EXPECT_FALSE(tracker.RunEnabled());
    EXPECT_FALSE(decoder.RunEnabled());
    EXPECT_EQ(view.RunLook, (RunButtonLook{kRunOff, false, "Off", 0x808080, false}));
    EXPECT_EQ(view.Log.front(), "ShowRunButton(Off)");
    EXPECT_EQ(view.Log[1], "ShowInputVoltage");
    EXPECT_EQ(view.Log[view.Log.size() - 2], "SetCellBarType(4)");
    EXPECT_EQ(view.Log.back(), "ShowLiveOnPanel(128,8)");
    EXPECT_EQ(view.Window(0).CaptionText, kChargeTitle + " [ END ]");
    EXPECT_FALSE(IsOn(tracker.Channel(0).Recording));
    EXPECT_EQ(tracker.InputVoltage(0), 0);

    view.Log.clear();
    tracker.ShowRunButton();  // re-applying the off look leaves LiveOnPanel alone
    EXPECT_EQ(view.Log, std::vector<std::string>{"ShowRunButton(Off)"});

    tracker.RunBtnMouseDown(MouseButton::Left, true);
    EXPECT_TRUE(tracker.RunEnabled());
    EXPECT_TRUE(decoder.RunEnabled());
    EXPECT_EQ(view.RunLook, (RunButtonLook{kRunOn, true, "On", 0x0000FF, true}));
    EXPECT_EQ(view.Windows.size(), 1U);
    Frame(0, 2);
    EXPECT_EQ(view.Windows.size(), 2U);
}

TEST_F(RunTrackerTest, ReleaseQueueDestroysEachWindowTwoTicksAfterItReachesTheHead) {
    for (int i = 0; i < 3; ++i) {
        (void)view.CreateGraphWindow();
    }
    ASSERT_TRUE(tracker.ScheduleRelease(&view.Window(0)));
    ASSERT_TRUE(tracker.ScheduleRelease(&view.Window(1)));
    std::vector<std::size_t> destroyedAfterTick;
    for (int tick = 1; tick <= 5; ++tick) {
        tracker.ReleaseQueueTick();
        destroyedAfterTick.push_back(view.Destroyed.size());
    }
    EXPECT_EQ(destroyedAfterTick, (std::vector<std::size_t>{0, 1, 1, 2, 2}));
    EXPECT_EQ(view.Destroyed, (std::vector<GraphWindowOps*>{&view.Window(0), &view.Window(1)}));
    EXPECT_EQ(tracker.PendingReleases(), 0);
}

TEST_F(RunTrackerTest, ReleaseQueueRefuses33rdWindowAndForgetsDestroyedGraph) {
    Frame(0, 2);
    Frame(0, 0);
    EXPECT_EQ(tracker.Channel(0).Graph, &view.Window(0));
    for (int i = 1; i <= 32; ++i) {
        (void)view.CreateGraphWindow();
    }
    for (std::size_t i = 0; i < 32; ++i) {
        EXPECT_TRUE(tracker.ScheduleRelease(&view.Window(i))) << i;
    }
    EXPECT_FALSE(tracker.ScheduleRelease(&view.Window(32)));
    EXPECT_EQ(tracker.PendingReleases(), 32);
    tracker.ReleaseQueueTick();
    tracker.ReleaseQueueTick();
    EXPECT_EQ(tracker.Channel(0).Graph, nullptr);
    EXPECT_TRUE(tracker.ScheduleRelease(&view.Window(32)));  // a slot is free again
}

TEST_F(RunTrackerTest, WindowClosedTwiceWhileWaitingIsDestroyedOnce) {
    (void)view.CreateGraphWindow();
    (void)view.CreateGraphWindow();
    ASSERT_TRUE(tracker.ScheduleRelease(&view.Window(0)));
    ASSERT_TRUE(tracker.ScheduleRelease(&view.Window(0)));
    ASSERT_TRUE(tracker.ScheduleRelease(&view.Window(1)));
    EXPECT_EQ(tracker.PendingReleases(), 2);
    for (int tick = 0; tick < 10; ++tick) {
        tracker.ReleaseQueueTick();
    }
    EXPECT_EQ(view.Destroyed, (std::vector<GraphWindowOps*>{&view.Window(0), &view.Window(1)}));
}

TEST(RunTitles, DateTitleAndEndMarking) {
    EXPECT_EQ(RunDateText({2024, 3, 5, 9, 7, 59}), "05/Mar 09:07");
    EXPECT_EQ(RunDateText({2024, 12, 31, 23, 59, 0}), "31/Dec 23:59");
    EXPECT_EQ(RunDateText({2024, 13, 1, 0, 0, 0}), "01/ 00:00");
    EXPECT_EQ(RunTitle(1, 1, "NiMh", "05/Mar 09:07"), "Discharge[Ch2,NiMh]  05/Mar 09:07");
    EXPECT_EQ(EndTitle("abc"), "abc[ END ]");
    EXPECT_EQ(EndTitle("a(b)c(d)"), "a(b)c[ END ]");
    EXPECT_EQ(EndTitle(kChargeTitle + " (>> Live <<)"), kChargeTitle + " [ END ]");
}

TEST_F(RunTrackerTest, CellsFollowStatusAndOutOfRangeChannelsAreIgnored) {
    CellVoltages cells{};
    cells.fill(390);
    tracker.UpdateChannelStatus(0, 0, 1, 1200, 0, 0, 0);
    tracker.UpdateChannelCells(0, cells);
    EXPECT_EQ(tracker.Channel(0).Cells, CellVoltages{});
    tracker.UpdateChannelStatus(0, 3, 1, 1200, 0, 0, 0);
    tracker.UpdateChannelCells(0, cells);
    EXPECT_EQ(tracker.Channel(0).Cells, cells);
    view.Log.clear();
    tracker.UpdateChannelStatus(2, 2, 1, 1200, 0, 0, 0);
    tracker.UpdateChannelCells(-1, cells);
    tracker.StoreChannelLimits(7, 1, 1, 1, 1);
    EXPECT_TRUE(view.Log.empty());
    EXPECT_EQ(tracker.InputVoltage(5), 0);
}

}  // namespace
}  // namespace volt
