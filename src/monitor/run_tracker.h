#pragma once
// Run tracking: the decoder's readings drive the two ChannelStates. A change to discharge or
// charge opens a new graph window titled after the run, the one-second tick appends the
// channel's latest values to it, and a change to idle marks its caption "[ END ]". Also the RUN
// switch, the selected channel, the link-lost reset and the release queue of closed windows.
// GUI thread only; every window operation goes through MonitorView and GraphWindowOps.

#include <array>
#include <cstdint>

#include "common/local_clock.h"
#include "monitor/battery_type_names.h"
#include "monitor/channel_reset.h"
#include "monitor/channel_sink.h"
#include "monitor/channel_state.h"
#include "monitor/decoder_busy.h"
#include "monitor/monitor_view.h"
#include "monitor/release_queue.h"

namespace volt {

class FrameDecoder;

enum class MouseButton { Left, Right, Middle };

class RunTracker final : public ChannelSink {
  public:
    // All references must outlive the tracker. Both channels start cleared, channel 0 selected,
    // RUN on.
    RunTracker(MonitorView& view, const LocalClock& clock, const BatteryTypeNames& names);

    // The decoder shares its DecoderBusy with the recording tick and follows the RUN switch.
    void AttachDecoder(FrameDecoder& decoder) noexcept;

    // ChannelSink, driven by the decoder.
    void SetInputVoltages(std::int16_t channel1, std::int16_t channel2) override;
    [[nodiscard]] std::int16_t InputVoltage(int channel) const override;
    void UpdateChannelStatus(int channel, std::uint8_t Status, std::uint8_t BatteryType,
                             std::int32_t Voltage, std::int32_t Current, std::int32_t Capacity,
                             std::int32_t Temperature) override;
    void UpdateChannelCells(int channel, const CellVoltages& cells) override;
    void StoreChannelLimits(int channel, std::int16_t VoltageLimit, std::int32_t CapacityLimit,
                            std::int16_t TemperatureLimit, std::int16_t ExtraLimit) override;
    // The channel-2 controls belong to the readout; nothing of the run state changes.
    void ShowChannel2(bool visible) override;

    void SelectChannel(int channel);
    // The recording tick of GrapMainTimer (1000 ms).
    void GrapMainTimerTimer();
    // RUN switch: toggles only with Ctrl held, or on a right press while the left button is
    // held on the button.
    void RunBtnMouseDown(MouseButton button, bool ctrlHeld);
    void RunBtnMouseUp(MouseButton button);
    // Re-applies the RUN button's look (first show, colour dialog); never moves LiveOnPanel.
    void ShowRunButton();
    // Reset both channels as for a lost link.
    void ResetChannels() { volt::ResetChannels(*this); }

    // A closing window; false when 32 are pending.
    [[nodiscard]] bool ScheduleRelease(GraphWindowOps* window) noexcept {
        return releaseQueue_.ScheduleRelease(window);
    }
    // First job of the 10-ms KillTimer: the release queue.
    void ReleaseQueueTick();

    // A window being destroyed or refusing samples: no channel refers to it any more.
    void ForgetGraph(const GraphWindowOps* window) noexcept;
    // True while a channel records into the window: it must not close ("Is runing...").
    [[nodiscard]] bool RecordsInto(const GraphWindowOps* window) const noexcept;

    [[nodiscard]] const ChannelState& Channel(int channel) const {
        return channels_.at(static_cast<std::size_t>(channel));
    }
    [[nodiscard]] int SelectedChannel() const noexcept { return selectedChannel_; }
    [[nodiscard]] bool RunEnabled() const noexcept { return runEnabled_; }
    [[nodiscard]] bool LeftButtonHeld() const noexcept { return leftButtonHeld_; }
    [[nodiscard]] std::int32_t PendingReleases() const noexcept { return releaseQueue_.Pending(); }
    [[nodiscard]] RunButtonLook RunButton() const noexcept;

  private:
    [[nodiscard]] static bool ValidChannel(int channel) noexcept {
        return channel >= 0 && channel < kChannelCount;
    }
    void StartRun(int channel);

    MonitorView& view_;
    const LocalClock& clock_;
    const BatteryTypeNames& names_;
    FrameDecoder* decoder_ = nullptr;
    BusyFlag ownBusy_;  // until a decoder is attached
    std::array<ChannelState, kChannelCount> channels_{};
    std::array<std::int16_t, kChannelCount> inputVoltages_{};
    int selectedChannel_ = 0;
    bool runEnabled_ = true;
    bool leftButtonHeld_ = false;
    ReleaseQueue releaseQueue_;
};

}  // namespace volt
