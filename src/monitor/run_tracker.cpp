#include "monitor/run_tracker.h"

#include "monitor/frame_decoder.h"
#include "monitor/graph_window_ops.h"
#include "monitor/run_title.h"

namespace volt {

RunTracker::RunTracker(MonitorView& view, const LocalClock& clock, const BatteryTypeNames& names)
    : view_(view), clock_(clock), names_(names) {}

void RunTracker::AttachDecoder(FrameDecoder& decoder) noexcept {
    decoder_ = &decoder;
    decoder.SetRunEnabled(runEnabled_);
}

void RunTracker::SetInputVoltages(std::int16_t channel1, std::int16_t channel2) {
    inputVoltages_ = {channel1, channel2};
    view_.ShowInputVoltage();
}

std::int16_t RunTracker::InputVoltage(int channel) const {
    return ValidChannel(channel) ? inputVoltages_[static_cast<std::size_t>(channel)] : 0;
}

void RunTracker::UpdateChannelStatus(int channel, std::uint8_t Status, std::uint8_t BatteryType,
                                     std::int32_t Voltage, std::int32_t Current,
                                     std::int32_t Capacity, std::int32_t Temperature) {
    if (!ValidChannel(channel)) {
        return;
    }
    ChannelState& ch = channels_[static_cast<std::size_t>(channel)];
    ch.PreviousStatus = ch.Status;
    ch.Status = Status;
    ch.BatteryType = BatteryType;
    if (Status != 0) {
        ch.Voltage = Voltage;
        ch.Current = Current;
        ch.Capacity = Capacity;
        ch.Temperature = Temperature;
    } else {
        // Every idle frame, not only the change to idle.
        ch.Voltage = 0;
        ch.Current = 0;
        ch.Capacity = 0;
        ch.Temperature = 0;
        ch.ElapsedSeconds = 0;
        view_.ShowElapsedTime();
    }
    if (ch.PreviousStatus != ch.Status) {
        if (ch.Status == 0) {
            ch.Recording = kFlagOff;
            if (ch.Graph != nullptr) {
                ch.Graph->SetCaption(EndTitle(ch.Graph->Caption()));
            }
            const int other = 1 - channel;
            if (IsOn(channels_[static_cast<std::size_t>(other)].Recording)) {
                SelectChannel(other);
            }
        } else if (ch.Status == 1 || ch.Status == 2) {
            StartRun(channel);
        }
    }
    view_.ShowChannelValues();
}

void RunTracker::StartRun(int channel) {
    ChannelState& ch = channels_[static_cast<std::size_t>(channel)];
    GraphWindowOps* window = view_.CreateGraphWindow();
    ch.Graph = window;
    if (window != nullptr) {
        const std::string title =
            RunTitle(ch.Status, channel, names_[ch.BatteryType], RunDateText(clock_.Now()));
        window->SetCaption(title + std::string(kLiveCaptionSuffix));
        window->SetChartTitle(title);
        window->SetTitle(title);
    }
    SelectChannel(channel);
    if (!IsOn(ch.Recording)) {
        ch.Recording = kFlagOn;
    }
    if (window != nullptr) {
        window->FormActivate();
    }
}

void RunTracker::UpdateChannelCells(int channel, const CellVoltages& cells) {
    if (!ValidChannel(channel)) {
        return;
    }
    ChannelState& ch = channels_[static_cast<std::size_t>(channel)];
    ch.Cells = ch.Status != 0 ? cells : CellVoltages{};
    view_.ShowCells();
}

void RunTracker::StoreChannelLimits(int channel, std::int16_t VoltageLimit,
                                    std::int32_t CapacityLimit, std::int16_t TemperatureLimit,
                                    std::int16_t ExtraLimit) {
    if (!ValidChannel(channel)) {
        return;
    }
    ChannelState& ch = channels_[static_cast<std::size_t>(channel)];
    ch.VoltageLimit = VoltageLimit;
    ch.CapacityLimit = CapacityLimit;
    ch.TemperatureLimit = TemperatureLimit;
    ch.ExtraLimit = ExtraLimit;
}

void RunTracker::ShowChannel2(bool /*visible*/) {}

void RunTracker::SelectChannel(int channel) {
    if (!ValidChannel(channel)) {
        return;
    }
    selectedChannel_ = channel;
    const ChannelButtonLook selected{"", kSelectChannel, true};
    const ChannelButtonLook other{"", kUnSelectedChannel, false};
    ChannelButtonLook one = channel == 0 ? selected : other;
    ChannelButtonLook two = channel == 1 ? selected : other;
    one.Caption = "1";
    two.Caption = "2";
    view_.ShowChannelButtons(one, two);
    GraphWindowOps* window = channels_[static_cast<std::size_t>(channel)].Graph;
    if (window != nullptr) {
        window->BringToFront();
    }
    view_.PaintChannelOutline();
}

void RunTracker::GrapMainTimerTimer() {
    const BusyGuard busy(decoder_ != nullptr ? decoder_->DecoderBusy() : ownBusy_);
    if (!busy.Acquired()) {
        return;
    }
    for (int channel = 0; channel < kChannelCount; ++channel) {
        ChannelState& ch = channels_[static_cast<std::size_t>(channel)];
        if (!IsOn(ch.Recording) || ch.Graph == nullptr) {
            continue;
        }
        ++ch.ElapsedSeconds;
        SampleReading reading;
        reading.Voltage = ch.Voltage;
        reading.Current = static_cast<std::int32_t>(static_cast<std::int64_t>(ch.Current) * 10);
        reading.Capacity = ch.Capacity;
        reading.Temperature = ch.Temperature;
        reading.Cells = ch.Cells;
        GraphWindowOps* window = ch.Graph;
        if (window->AppendSample(ch.Status, reading)) {
            window->SetRunInfo(channel, ch.Status, ch.BatteryType);
            window->SetLimits(ch.VoltageLimit, ch.CapacityLimit, ch.TemperatureLimit,
                              ch.ExtraLimit);
        } else {
            // The window has detached itself; the next discharge or charge frame is a change
            // and opens a fresh window. PreviousStatus and Recording stay as they are.
            ForgetGraph(window);
            ch.Status = 0;
        }
        if (channel == selectedChannel_) {
            view_.ShowElapsedTime();
        }
    }
}

RunButtonLook RunTracker::RunButton() const noexcept {
    if (runEnabled_) {
        return {kRunOn, true, "On", kRunOnFontRgb, true};
    }
    return {kRunOff, false, "Off", kRunOffFontRgb, false};
}

void RunTracker::RunBtnMouseDown(MouseButton button, bool ctrlHeld) {
    const bool toggle = ctrlHeld || (button == MouseButton::Right && leftButtonHeld_);
    if (toggle) {
        runEnabled_ = !runEnabled_;
        if (decoder_ != nullptr) {
            decoder_->SetRunEnabled(runEnabled_);
        }
        view_.ShowRunButton(RunButton());
        if (!runEnabled_) {
            ResetChannels();
            if (GraphWindowOps* active = view_.ActiveGraphWindow(); active != nullptr) {
                view_.SetCellBarType(active->BatteryType());
            }
            view_.ShowLiveOnPanel(kLiveOnPanelLeft, kLiveOnPanelTop);
        }
    }
    if (button == MouseButton::Left) {
        leftButtonHeld_ = true;
    }
}

void RunTracker::RunBtnMouseUp(MouseButton button) {
    if (button == MouseButton::Left) {
        leftButtonHeld_ = false;
    }
}

void RunTracker::ShowRunButton() {
    view_.ShowRunButton(RunButton());
}

void RunTracker::ReleaseQueueTick() {
    if (GraphWindowOps* window = releaseQueue_.Tick(); window != nullptr) {
        ForgetGraph(window);
        view_.DestroyGraphWindow(window);
    }
}

void RunTracker::ForgetGraph(const GraphWindowOps* window) noexcept {
    for (ChannelState& ch : channels_) {
        if (ch.Graph == window) {
            ch.Graph = nullptr;
        }
    }
}

bool RunTracker::RecordsInto(const GraphWindowOps* window) const noexcept {
    for (const ChannelState& ch : channels_) {
        if (window != nullptr && ch.Graph == window && IsOn(ch.Recording)) {
            return true;
        }
    }
    return false;
}

}  // namespace volt
