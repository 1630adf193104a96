#pragma once
// The smoothed ("Analog") capacity and temperature curves draw a follower that moves one step
// per sample toward the measured value instead of the value itself.

#include <cstdint>

namespace volt {

// The step of a refill: 50 when the distance d exceeds 1000, 10 above 100, 5 above 10, 2 above
// 0, the same rising and falling. A step of 2 may carry the follower past the value (d = 1).
[[nodiscard]] std::int32_t MoveFollowerInRefill(std::int32_t follower, std::int32_t value) noexcept;

// The step of a live append: as the refill's, except that a falling capacity moves faster
// (100 when d exceeds 1000, 50 above 100).
[[nodiscard]] std::int32_t MoveFollowerLive(std::int32_t follower, std::int32_t value,
                                            bool capacity) noexcept;

}  // namespace volt
