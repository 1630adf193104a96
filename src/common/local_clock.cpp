#include "common/local_clock.h"

#include <ctime>

namespace volt {

LocalDateTime SystemLocalClock::Now() const {
    const std::time_t now = std::time(nullptr);
    // std::localtime shares one buffer; the clock is only asked on the GUI thread.
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) {
        return {};
    }
    return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
            local->tm_hour,        local->tm_min,     local->tm_sec};
}

}  // namespace volt
