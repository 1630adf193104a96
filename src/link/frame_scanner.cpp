#include "link/frame_scanner.h"

#include <algorithm>

namespace volt {
namespace {

constexpr auto kRingSize = static_cast<std::int32_t>(FrameScanner::kRingBytes);
constexpr auto kFrameCapacity = static_cast<std::int32_t>(FrameScanner::kFrameBufferBytes);

}  // namespace

FrameScanner::FrameScanner(FrameSink& sink, std::int32_t& rxLedCountdown) noexcept
    : sink_(sink), RxLedCountdown_(rxLedCountdown) {}

void FrameScanner::ComPortRxChar(std::span<const std::uint8_t> bytes) {
    do {
        const std::size_t take = std::min(bytes.size(), kMaxReadBytes);
        ReceivePass(bytes.first(take));
        bytes = bytes.subspan(take);
    } while (!bytes.empty());
}

void FrameScanner::ReceivePass(std::span<const std::uint8_t> bytes) {
    // Every event reloads the watchdog, whatever it brings: noise keeps the link alive too.
    LinkWatchdog_ = kWatchdogTicks;
    for (const std::uint8_t byte : bytes) {
        if (RxCount_ >= kRingSize) {
            // A full ring drops the byte unseen: it does not count as a brace either.
            continue;
        }
        RxRing_[RxWriteIndex_] = byte;
        RxWriteIndex_ = (RxWriteIndex_ + 1) % kRingSize;
        ++RxCount_;
        if (byte == kFrameStart || byte == kFrameEnd) {
            LinkActive_ = true;
        }
    }
    ExtractInData();
    if (RxLedCountdown_ < kRxLedBlinkBusy) {
        RxLedCountdown_ = kRxLedBlinkStart;
    }
}

void FrameScanner::ConsumeByte() noexcept {
    RxReadIndex_ = (RxReadIndex_ + 1) % kRingSize;
    --RxCount_;
}

void FrameScanner::StoreByte(std::uint8_t byte) noexcept {
    // Payload beyond the buffer is dropped; the frame still ends at its '}'.
    if (FrameLength_ < kFrameCapacity) {
        FrameBuffer_[FrameLength_] = byte;
        ++FrameLength_;
    }
}

void FrameScanner::ExtractInData() {
    if (RxCount_ <= 0) {
        return;
    }
    if (!FrameOpen_) {
        // Bytes outside a frame are thrown away.
        while (RxCount_ > 0 && PeekByte() != kFrameStart) {
            ConsumeByte();
        }
        if (RxCount_ == 0) {
            return;
        }
        // The '{' is the first byte stored. Even when the '}' is already in the ring the frame
        // is only handed over by the next event's scan.
        FrameLength_ = 0;
        while (RxCount_ > 0 && PeekByte() != kFrameEnd) {
            StoreByte(PeekByte());
            ConsumeByte();
        }
        FrameOpen_ = true;
        return;
    }

    // A '{' inside an open frame is payload: a frame that lost its '}' runs on into the next.
    while (RxCount_ > 0 && PeekByte() != kFrameEnd) {
        StoreByte(PeekByte());
        ConsumeByte();
    }
    if (RxCount_ == 0) {
        return;
    }
    // The '}' stays in the ring; the next hunt discards it.
    const bool fits = FrameLength_ < kFrameCapacity;
    if (fits) {
        FrameBuffer_[FrameLength_] = kFrameEnd;
        ++FrameLength_;
    }
    const auto length = static_cast<std::size_t>(FrameLength_);
    // The scanner is back in the hunting phase before the hand-over, so a decoder that throws or
    // runs the event loop finds it consistent. A frame with no room left for its '}' is dropped.
    FrameLength_ = 0;
    FrameOpen_ = false;
    if (fits) {
        sink_.DecodeFrame(std::span<const std::uint8_t>(FrameBuffer_).first(length));
    }
}

}  // namespace volt
