#include "monitor/release_queue.h"

namespace volt {

bool ReleaseQueue::ScheduleRelease(GraphWindowOps* window) noexcept {
    // A window closed again while it waits is already on its way: queueing it twice would
    // destroy it twice.
    for (std::int32_t i = 0; i < pending_; ++i) {
        if (slots_[static_cast<std::size_t>((head_ + i) % kSlots)].Window == window) {
            return true;
        }
    }
    if (pending_ >= kSlots) {
        return false;
    }
    slots_[static_cast<std::size_t>(tail_)] = {kCountdownTicks, window};
    tail_ = (tail_ + 1) % kSlots;
    ++pending_;
    return true;
}

GraphWindowOps* ReleaseQueue::Tick() noexcept {
    if (pending_ <= 0) {
        return nullptr;
    }
    Slot& head = slots_[static_cast<std::size_t>(head_)];
    if (head.Countdown <= 0) {
        return nullptr;
    }
    if (--head.Countdown > 0) {
        return nullptr;
    }
    GraphWindowOps* window = head.Window;
    head.Window = nullptr;
    --pending_;
    head_ = (head_ + 1) % kSlots;
    return window;
}

}  // namespace volt
