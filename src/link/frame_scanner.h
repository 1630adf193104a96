#pragma once
// The receive path of the link: every receive event of the serial port appends its bytes to a
// 2048-byte ring, then a two-phase scanner cuts at most one '{'...'}' frame out of the ring into a
// 1024-byte frame buffer and hands it, delimiters included, to a FrameSink. The scanner resumes
// where the previous event stopped, so a frame may arrive over any number of events. Nothing on
// this path allocates.
//
// The link supervision reads LinkActive (a brace has been seen since the link was last lost) and
// counts LinkWatchdog down; every receive event reloads it. The receive lamp's countdown is
// program-wide state owned by the caller: the scanner only raises it, the 10-ms lamp tick counts
// it down.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "link/frame_sink.h"

namespace volt {

class FrameScanner {
  public:
    static constexpr std::size_t kRingBytes = 2048;
    static constexpr std::size_t kFrameBufferBytes = 1024;
    // The port adapter reads at most this many bytes per pass and calls ComPortRxChar once per
    // pass until the port's input queue is empty.
    static constexpr std::size_t kMaxReadBytes = 2048;
    static constexpr std::int32_t kWatchdogTicks = 20;  // 100-ms ticks of the link timer
    // A receive event starts a lamp blink unless one is still showing (countdown of 10 or more).
    static constexpr std::int32_t kRxLedBlinkStart = 52;  // 10-ms ticks
    static constexpr std::int32_t kRxLedBlinkBusy = 10;   // 10-ms ticks

    static constexpr std::uint8_t kFrameStart = '{';
    static constexpr std::uint8_t kFrameEnd = '}';

    // sink and rxLedCountdown must outlive the scanner.
    FrameScanner(FrameSink& sink, std::int32_t& rxLedCountdown) noexcept;

    // One receive event: bytes is what the port read. A block longer than kMaxReadBytes is taken
    // as consecutive events of at most kMaxReadBytes each, which is what the adapter's read loop
    // would deliver. Calls DecodeFrame at most once per event of at most kMaxReadBytes.
    void ComPortRxChar(std::span<const std::uint8_t> bytes);

    // Link supervision.
    [[nodiscard]] bool LinkActive() const noexcept { return LinkActive_; }
    void ClearLinkActive() noexcept { LinkActive_ = false; }
    [[nodiscard]] std::int32_t LinkWatchdog() const noexcept { return LinkWatchdog_; }
    void SetLinkWatchdog(std::int32_t ticks) noexcept { LinkWatchdog_ = ticks; }

    // Read-only view of the ring and the scanner phase.
    [[nodiscard]] const std::array<std::uint8_t, kRingBytes>& RxRing() const noexcept {
        return RxRing_;
    }
    [[nodiscard]] std::int32_t RxWriteIndex() const noexcept { return RxWriteIndex_; }
    [[nodiscard]] std::int32_t RxReadIndex() const noexcept { return RxReadIndex_; }
    [[nodiscard]] std::int32_t RxCount() const noexcept { return RxCount_; }
    [[nodiscard]] std::int32_t FrameLength() const noexcept { return FrameLength_; }
    [[nodiscard]] bool FrameOpen() const noexcept { return FrameOpen_; }

  private:
    void ReceivePass(std::span<const std::uint8_t> bytes);
    void ExtractInData();
    [[nodiscard]] std::uint8_t PeekByte() const noexcept { return RxRing_[RxReadIndex_]; }
    void ConsumeByte() noexcept;
    void StoreByte(std::uint8_t byte) noexcept;

    FrameSink& sink_;
    std::int32_t& RxLedCountdown_;

    std::array<std::uint8_t, kRingBytes> RxRing_{};
    std::int32_t RxWriteIndex_ = 0;
    std::int32_t RxReadIndex_ = 0;
    std::int32_t RxCount_ = 0;
    std::array<std::uint8_t, kFrameBufferBytes> FrameBuffer_{};
    std::int32_t FrameLength_ = 0;
    bool FrameOpen_ = false;
    bool LinkActive_ = false;
    std::int32_t LinkWatchdog_ = 0;
};

}  // namespace volt
