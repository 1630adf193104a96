#pragma once
// Every piece of logic that depends on the date or the time asks an injected clock, so tests
// set the moment directly.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace volt {

struct LocalDateTime {
    int Year = 0;    // four digits
    int Month = 0;   // 1..12
    int Day = 0;     // 1..31
    int Hour = 0;    // 0..23
    int Minute = 0;  // 0..59
    int Second = 0;  // 0..59
};

class LocalClock {
  public:
    virtual ~LocalClock() = default;
    [[nodiscard]] virtual LocalDateTime Now() const = 0;
};

// The local date and time of a moment given in seconds since 1970; nothing when the C library
// cannot convert it or its year does not fit an int.
[[nodiscard]] std::optional<LocalDateTime> LocalDateTimeAt(std::time_t secondsSince1970);

// The last two digits of a date or time field, with a leading zero: 2026 gives "26", 7 gives "07".
[[nodiscard]] std::string TwoDigitText(int value);

// The machine's local time.
class SystemLocalClock final : public LocalClock {
  public:
    [[nodiscard]] LocalDateTime Now() const override;
};

}  // namespace volt
