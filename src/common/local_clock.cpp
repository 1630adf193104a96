#include "common/local_clock.h"

#include <ctime>
#include <limits>

namespace volt {

std::optional<LocalDateTime> LocalDateTimeAt(std::time_t secondsSince1970) {
    // std::localtime shares one buffer; the clock is only asked on the GUI thread.
    const std::tm* local = std::localtime(&secondsSince1970);
    // The C library counts years from 1900 in an int; a moment near the end of that range has
    // no year that fits one.
    constexpr int kTmYearBase = 1900;
    if (local == nullptr || local->tm_year > std::numeric_limits<int>::max() - kTmYearBase) {
        return std::nullopt;
    }
    return LocalDateTime{local->tm_year + kTmYearBase,
                         local->tm_mon + 1,
                         local->tm_mday,
                         local->tm_hour,
                         local->tm_min,
                         local->tm_sec};
}

std::string TwoDigitText(int value) {
    const int v = ((value % 100) + 100) % 100;
    return {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

LocalDateTime SystemLocalClock::Now() const {
    return LocalDateTimeAt(std::time(nullptr)).value_or(LocalDateTime{});
}

}  // namespace volt
