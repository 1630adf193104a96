#pragma once
// Port search and link supervision, driven by the link window's 100-ms tick. While no brace byte
// has arrived the search opens the listed ports one after another, 11 ticks each, and reads a
// fresh list after the last one. Once linked it only watches: 20 ticks without a receive event
// and the link is lost, both channels are reset, the port is closed and the search goes on with
// the port after the one that was linked. The watchdog runs while searching too, so a port that
// sends bytes without braces and falls silent is closed as well.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace volt {

class ChannelSink;
class FrameScanner;
class PortOperations;

class PortSearch {
  public:
    static constexpr std::int32_t kProbeDwellTicks = 10;  // 100-ms ticks after each probe step

    // Reads the first port list. All three must outlive the search.
    PortSearch(PortOperations& ports, FrameScanner& scanner, ChannelSink& channels);

    // The 100-ms tick. Returns the colour-scheme entry (kLinkOn or kLinkOff) of the LINK lamp
    // when the lamp has to change, nothing when it already shows it.
    [[nodiscard]] std::optional<int> Timer1Timer();

    // The lamp's entry for the current link state, to paint whatever it showed before (the
    // window is shown, the colours were edited).
    [[nodiscard]] int ShowLinkLamp() noexcept;

    [[nodiscard]] const std::vector<std::string>& PortList() const noexcept { return PortList_; }
    [[nodiscard]] std::int32_t PortIndex() const noexcept { return PortIndex_; }
    [[nodiscard]] std::int32_t ProbeDwell() const noexcept { return ProbeDwell_; }
    // 0 until the first tick or ShowLinkLamp has coloured the lamp.
    [[nodiscard]] int LinkLamp() const noexcept { return LinkLamp_; }

  private:
    void ProbeStep();
    void LinkLost();
    [[nodiscard]] std::optional<int> SetLinkLamp(int entry) noexcept;

    PortOperations& ports_;
    FrameScanner& scanner_;
    ChannelSink& channels_;

    std::vector<std::string> PortList_;
    std::int32_t PortIndex_ = 0;
    std::int32_t ProbeDwell_ = 0;
    int LinkLamp_ = 0;
};

}  // namespace volt
