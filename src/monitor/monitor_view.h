#pragma once
// What run tracking needs of the main window: its graph windows and its readout. The window
// implements it; the refresh operations read the tracker's state (channels, selection, input
// voltages) themselves.

#include <cstdint>
#include <string_view>

#include "appearance/color_scheme.h"

namespace volt {

class GraphWindowOps;

// A channel button (ch0bp "1", ch1bp "2"): colour entry and bevel.
struct ChannelButtonLook {
    std::string_view Caption;
    int ColorEntry = kUnSelectedChannel;
    bool Lowered = false;

    friend bool operator==(const ChannelButtonLook&, const ChannelButtonLook&) = default;
};

// The RUN button RunBtn. Font colours are RGB (0xRRGGBB), not the colour-table encoding.
inline constexpr std::uint32_t kRunOnFontRgb = 0x0000FF;   // blue
inline constexpr std::uint32_t kRunOffFontRgb = 0x808080;  // grey
inline constexpr int kLiveOnPanelLeft = 128;               // px, when RUN is switched off
inline constexpr int kLiveOnPanelTop = 8;

struct RunButtonLook {
    int ColorEntry = kRunOn;
    bool Lowered = true;
    std::string_view Caption = "On";
    std::uint32_t FontRgb = kRunOnFontRgb;
    bool HideLiveOnPanel = true;  // on: LiveOnPanel hidden; off: left as it is

    friend bool operator==(const RunButtonLook&, const RunButtonLook&) = default;
};

class MonitorView {
  public:
    virtual ~MonitorView() = default;

    // A new, empty graph window (as the toolbar's "New" makes it); owned by the main window.
    [[nodiscard]] virtual GraphWindowOps* CreateGraphWindow() = 0;
    // Destroys a window handed to the release queue.
    virtual void DestroyGraphWindow(GraphWindowOps* window) = 0;
    // The active graph window, or nullptr when none is open.
    [[nodiscard]] virtual GraphWindowOps* ActiveGraphWindow() = 0;

    // Readout refreshes (live readout panel).
    virtual void ShowInputVoltage() = 0;
    virtual void ShowElapsedTime() = 0;
    virtual void ShowCells() = 0;
    virtual void ShowChannelValues() = 0;
    virtual void SetCellBarType(std::uint8_t batteryType) = 0;
    virtual void PaintChannelOutline() = 0;

    virtual void ShowChannelButtons(const ChannelButtonLook& channel1,
                                    const ChannelButtonLook& channel2) = 0;
    virtual void ShowRunButton(const RunButtonLook& look) = 0;
    // Moves LiveOnPanel to (left, top), shows it and empties its boxes lbStatus and lbBatType.
    virtual void ShowLiveOnPanel(int left, int top) = 0;
};

}  // namespace volt
