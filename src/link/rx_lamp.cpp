#include "link/rx_lamp.h"

namespace volt {
namespace {

constexpr std::int32_t kYellowAbove = 50;
constexpr std::int32_t kGreenAt = 20;

}  // namespace

std::optional<std::uint32_t> RxLedTick(std::int32_t& RxLedCountdown) noexcept {
    if (RxLedCountdown <= 0) {
        return std::nullopt;
    }
    --RxLedCountdown;
    if (RxLedCountdown > kYellowAbove) {
        return kRxLedYellow;
    }
    if (RxLedCountdown == kGreenAt) {
        return kRxLedGreen;
    }
    if (RxLedCountdown == 0) {
        return kRxLedGrey;
    }
    return std::nullopt;
}

}  // namespace volt
