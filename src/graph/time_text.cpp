#include "graph/time_text.h"

#include <cstdlib>

namespace volt {

std::string PadNumber(std::int64_t n, int width) {
    std::string text = std::to_string(n);
    const auto size = static_cast<std::size_t>(width < 0 ? 0 : width);
    if (text.size() > size) {
        text.resize(size);
    }
    text.insert(0, size - text.size(), '0');
    return text;
}

std::string TimeText(std::int32_t seconds) {
    // Division truncates toward zero, so -61 gives minutes -1 and seconds -1: shown as 01:01.
    const std::int64_t t = seconds;
    const std::int64_t minutes = std::llabs(t / 60);
    const std::int64_t secs = std::llabs(t % 60);
    const std::int64_t hours = minutes / 60;
    const std::int64_t mins = minutes % 60;
    if (hours > 0) {
        return std::to_string(hours) + ":" + PadNumber(mins, 2) + ":" + PadNumber(secs, 2);
    }
    return PadNumber(mins, 2) + ":" + PadNumber(secs, 2);
}

}  // namespace volt
