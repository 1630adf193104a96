#include "graph/follower_step.h"

#include <cstdlib>

namespace volt {
namespace {

struct Steps {
    std::int32_t Above1000;
    std::int32_t Above100;
    std::int32_t Above10;
    std::int32_t Above0;
};

constexpr Steps kEvenSteps{50, 10, 5, 2};
constexpr Steps kFallingCapacitySteps{100, 50, 5, 2};

std::int32_t Move(std::int32_t follower, std::int32_t value, const Steps& rising,
                  const Steps& falling) noexcept {
    const std::int64_t d = std::llabs(static_cast<std::int64_t>(value) - follower);
    if (d == 0) {
        return follower;
    }
    const Steps& steps = value > follower ? rising : falling;
    const std::int32_t step = d > 1000  ? steps.Above1000
                              : d > 100 ? steps.Above100
                              : d > 10  ? steps.Above10
                                        : steps.Above0;
    const std::int64_t moved = value > follower ? static_cast<std::int64_t>(follower) + step
                                                : static_cast<std::int64_t>(follower) - step;
    return static_cast<std::int32_t>(moved);
}

}  // namespace

std::int32_t MoveFollowerInRefill(std::int32_t follower, std::int32_t value) noexcept {
    return Move(follower, value, kEvenSteps, kEvenSteps);
}

std::int32_t MoveFollowerLive(std::int32_t follower, std::int32_t value, bool capacity) noexcept {
    return Move(follower, value, kEvenSteps, capacity ? kFallingCapacitySteps : kEvenSteps);
}

}  // namespace volt
