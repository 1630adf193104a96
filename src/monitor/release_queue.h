#pragma once
// Closed graph windows wait here and are destroyed by the 10-ms tick, one after another, each
// two ticks after it reaches the head.

#include <array>
#include <cstdint>

namespace volt {

class GraphWindowOps;

class ReleaseQueue {
  public:
    static constexpr int kSlots = 32;
    static constexpr std::int32_t kCountdownTicks = 2;  // 10-ms ticks at the head

    // False when 32 windows are pending: the window simply stays open. A window already
    // pending keeps its place (true).
    [[nodiscard]] bool ScheduleRelease(GraphWindowOps* window) noexcept;
    // One 10-ms tick: the window whose countdown ends is returned for destruction, else nullptr.
    [[nodiscard]] GraphWindowOps* Tick() noexcept;
    [[nodiscard]] std::int32_t Pending() const noexcept { return pending_; }

  private:
    struct Slot {
        std::int32_t Countdown = 0;
        GraphWindowOps* Window = nullptr;
    };
    std::array<Slot, kSlots> slots_{};
    std::int32_t pending_ = 0;
    std::int32_t head_ = 0;
    std::int32_t tail_ = 0;
};

}  // namespace volt
