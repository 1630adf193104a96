#include "common/local_clock.h"

#include <ctime>

namespace volt {

std::optional<LocalDateTime> LocalDateTimeAt(std::time_t secondsSince1970) {
    // std::localtime shares one buffer; the clock is only asked on the GUI thread.
    const std::tm* local = std::localtime(&secondsSince1970);
    if (local == nullptr) {
        return std::nullopt;
    }
    return LocalDateTime{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
                         local->tm_hour,        local->tm_min,     local->tm_sec};
}

LocalDateTime SystemLocalClock::Now() const {
    return LocalDateTimeAt(std::time(nullptr)).value_or(LocalDateTime{});
}

}  // namespace volt
