#pragma once
// Stand-ins for the main window and its graph windows: they record every call in order. A fake
// graph window owns a real GraphModel and runs the real recording step on it.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "appearance/color_scheme.h"
#include "common/local_clock.h"
#include "files/limit_settings.h"
#include "graph/graph_model.h"
#include "graph/sample_recording.h"
#include "monitor/graph_window_ops.h"
#include "monitor/monitor_view.h"
#include "monitor/run_tracker.h"

namespace volt::test {

class FakeClock final : public LocalClock {
  public:
    [[nodiscard]] LocalDateTime Now() const override { return Time; }
    LocalDateTime Time{2024, 12, 9, 14, 5, 33};
};

class FakeGraphWindow final : public GraphWindowOps, public RecordingWindow {
  public:
    FakeGraphWindow(std::vector<std::string>& log, const ColorScheme& colors,
                    const LimitSettings& limits, int id)
        : Model(colors, limits), log_(log), id_(id) {}

    // GraphWindowOps
    [[nodiscard]] std::string Caption() const override { return CaptionText; }
    void SetCaption(std::string_view caption) override {
        Log("SetCaption(" + std::string(caption) + ")");
        CaptionText = caption;
    }
    void SetChartTitle(std::string_view title) override {
        Log("SetChartTitle(" + std::string(title) + ")");
        ChartTitle = title;
    }
    void SetTitle(std::string_view title) override {
        Log("SetTitle");
        volt::SetTitle(Model.Document(), title);
    }
    [[nodiscard]] bool AppendSample(std::uint8_t mode, const SampleReading& reading) override {
        Log("AppendSample(" + std::to_string(mode) + "," + std::to_string(reading.Voltage) + ")");
        return volt::AppendSample(Model, *this, mode, reading);
    }
    void SetRunInfo(int channel, std::uint8_t mode, std::uint8_t batteryType) override {
        Log("SetRunInfo");
        volt::SetRunInfo(Model.Document(), channel, mode, batteryType);
    }
    void SetLimits(std::int32_t v, std::int32_t c, std::int32_t t, std::int32_t x) override {
        Log("SetLimits");
        volt::SetLimits(Model, v, c, t, x);
    }
    void BringToFront() override { Log("BringToFront"); }
    void FormActivate() override { Log("FormActivate"); }
    [[nodiscard]] std::uint8_t BatteryType() const override {
        return Model.Document().Header.BatteryType;
    }

    // RecordingWindow (Caption and SetCaption shared)
    void DetachFromChannels() override {
        Log("DetachFromChannels");
        if (Tracker != nullptr) {
            Tracker->ForgetGraph(this);
        }
    }
    void ShowMessage(std::string_view text) override {
        Log("ShowMessage(" + std::string(text) + ")");
    }
    void ShowValueLabels(const ValueLabelValues& values) override {
        Log("ShowValueLabels");
        Labels = values;
    }

    GraphModel Model;
    RunTracker* Tracker = nullptr;
    std::string CaptionText;
    std::string ChartTitle;
    ValueLabelValues Labels{};

  private:
    void Log(const std::string& call) { log_.push_back("w" + std::to_string(id_) + "." + call); }
    std::vector<std::string>& log_;
    int id_;
};

class FakeMonitorView final : public MonitorView {
  public:
    FakeMonitorView() { Colors.Set(kVoltageColor, 0x0000FF); }

    [[nodiscard]] GraphWindowOps* CreateGraphWindow() override {
        const int id = static_cast<int>(Windows.size());
        Log.push_back("CreateGraphWindow -> w" + std::to_string(id));
        Windows.push_back(std::make_unique<FakeGraphWindow>(Log, Colors, Limits, id));
        Windows.back()->Tracker = Tracker;
        Active = Windows.back().get();
        return Windows.back().get();
    }
    void DestroyGraphWindow(GraphWindowOps* window) override {
        const auto it = std::find_if(Windows.begin(), Windows.end(),
                                     [&](const auto& w) { return w.get() == window; });
        Log.push_back("DestroyGraphWindow(w" + std::to_string(it - Windows.begin()) + ")");
        Destroyed.push_back(window);
    }
    [[nodiscard]] GraphWindowOps* ActiveGraphWindow() override { return Active; }
    void ShowInputVoltage() override { Log.push_back("ShowInputVoltage"); }
    void ShowElapsedTime() override { Log.push_back("ShowElapsedTime"); }
    void ShowCells() override { Log.push_back("ShowCells"); }
    void ShowChannelValues() override { Log.push_back("ShowChannelValues"); }
    void SetCellBarType(std::uint8_t type) override {
        Log.push_back("SetCellBarType(" + std::to_string(type) + ")");
    }
    void PaintChannelOutline() override { Log.push_back("PaintChannelOutline"); }
    void ShowChannelButtons(const ChannelButtonLook& one, const ChannelButtonLook& two) override {
        Log.push_back("ShowChannelButtons");
        Button1 = one;
        Button2 = two;
    }
    void ShowRunButton(const RunButtonLook& look) override {
        Log.push_back(std::string("ShowRunButton(") + std::string(look.Caption) + ")");
        RunLook = look;
    }
    void ShowLiveOnPanel(int left, int top) override {
        Log.push_back("ShowLiveOnPanel(" + std::to_string(left) + "," + std::to_string(top) + ")");
    }

    [[nodiscard]] FakeGraphWindow& Window(std::size_t i) { return *Windows.at(i); }

    ColorScheme Colors;
    LimitSettings Limits = kDefaultLimitSettings;
    RunTracker* Tracker = nullptr;
    std::vector<std::string> Log;
    std::vector<std::unique_ptr<FakeGraphWindow>> Windows;
    std::vector<GraphWindowOps*> Destroyed;
    GraphWindowOps* Active = nullptr;
    ChannelButtonLook Button1;
    ChannelButtonLook Button2;
    RunButtonLook RunLook;
};

}  // namespace volt::test
