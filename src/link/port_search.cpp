#include "link/port_search.h"

#include "appearance/color_scheme.h"
#include "link/frame_scanner.h"
#include "link/port_operations.h"
#include "monitor/channel_reset.h"

namespace volt {

PortSearch::PortSearch(PortOperations& ports, FrameScanner& scanner, ChannelSink& channels)
    : ports_(ports), scanner_(scanner), channels_(channels) {
    ports_.ReadPortList(PortList_);
}

std::optional<int> PortSearch::Timer1Timer() {
    std::optional<int> lamp;
    if (scanner_.LinkActive()) {
        lamp = SetLinkLamp(kLinkOn);
    } else {
        if (ProbeDwell_ > 0) {
            --ProbeDwell_;
        } else {
            ProbeStep();
        }
        lamp = SetLinkLamp(kLinkOff);
    }

    const std::int32_t watchdog = scanner_.LinkWatchdog();
    if (watchdog > 0) {
        scanner_.SetLinkWatchdog(watchdog - 1);
        if (watchdog == 1) {
            LinkLost();
        }
    }
    return lamp;
}

void PortSearch::ProbeStep() {
    if (PortIndex_ < static_cast<std::int32_t>(PortList_.size())) {
        ProbeDwell_ = kProbeDwellTicks;
        const std::string& port = PortList_[static_cast<std::size_t>(PortIndex_)];
        if (ports_.ProbePort(port)) {
            ports_.ClosePort();
            ports_.SetPortName(port);
            // An open that fails after a good probe leaves the port closed; the index moves on
            // all the same, so the next probe step tries the next port, not this one again.
            static_cast<void>(ports_.OpenPort());
        }
        ++PortIndex_;
        return;
    }
    // The list is exhausted (or empty): read it afresh and probe its first entry next tick.
    ports_.ReadPortList(PortList_);
    PortIndex_ = 0;
    ports_.ClosePort();
}

void PortSearch::LinkLost() {
    ResetChannels(channels_);
    ports_.ClosePort();
    scanner_.ClearLinkActive();
    ProbeDwell_ = 0;
    scanner_.SetLinkWatchdog(0);
    // PortIndex stays: the search goes on with the port after the one that was linked.
}

int PortSearch::ShowLinkLamp() noexcept {
    LinkLamp_ = scanner_.LinkActive() ? kLinkOn : kLinkOff;
    return LinkLamp_;
}

std::optional<int> PortSearch::SetLinkLamp(int entry) noexcept {
    if (LinkLamp_ == entry) {
        return std::nullopt;
    }
    LinkLamp_ = entry;
    return entry;
}

}  // namespace volt
