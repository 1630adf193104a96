#pragma once
// The simulated charger's end of the cable: a pseudo-terminal whose other side a monitor opens
// like a serial port, optionally reached through a symbolic link at a stable path. Unplugging
// closes the pseudo-terminal (its device vanishes) and removes the link; plugging in again makes
// a new one.

#include <cstdint>
#include <span>
#include <string>

namespace volt::sim {

class PtyLink {
  public:
    // linkPath empty: no link; the device path is what a monitor opens.
    explicit PtyLink(std::string linkPath);
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    // A fresh pseudo-terminal in raw mode, and the link pointed at it. False with the reason in
    // error when either fails.
    [[nodiscard]] bool Plug(std::string& error);
    // Closes the pseudo-terminal and removes the link if it still points at this device.
    void Unplug() noexcept;
    [[nodiscard]] bool Plugged() const noexcept { return master_ >= 0; }

    // The path to give a monitor: the link, or the device when there is none.
    [[nodiscard]] const std::string& Path() const noexcept {
        return linkPath_.empty() ? devicePath_ : linkPath_;
    }
    [[nodiscard]] const std::string& DevicePath() const noexcept { return devicePath_; }

    enum class WriteResult { Sent, NoReader, Dropped };
    // Never blocks: while nobody has the device open the bytes are dropped, as a serial line
    // loses them; a full buffer (a reader that stopped reading) drops them as well.
    WriteResult Write(std::span<const std::uint8_t> bytes) noexcept;

  private:
    void DrainInput() noexcept;

    std::string linkPath_;
    std::string devicePath_;
    int master_ = -1;
};

}  // namespace volt::sim
