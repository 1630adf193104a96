#include "monitor/run_title.h"

#include <array>

#include "graph/time_text.h"

namespace volt {
namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

std::string RunDateText(const LocalDateTime& now) {
    // A clock that reports no valid month gives an empty month name rather than a bad read.
    const std::string_view month = now.Month >= 1 && now.Month <= 12
                                       ? kMonthNames[static_cast<std::size_t>(now.Month - 1)]
                                       : std::string_view{};
    std::string text = PadNumber(now.Day, 2);
    text += '/';
    text += month;
    text += ' ';
    text += PadNumber(now.Hour, 2);
    text += ':';
    text += PadNumber(now.Minute, 2);
    return text;
}

std::string RunTitle(std::uint8_t status, int channel, std::string_view batteryTypeName,
                     std::string_view dateText) {
    std::string title = status == 1 ? "Discharge[Ch" : "Charge[Ch";
    title += std::to_string(channel + 1);
    title += ',';
    title += batteryTypeName;
    title += "]  ";
    title += dateText;
    return title;
}

std::string EndTitle(std::string_view caption) {
    const std::size_t open = caption.rfind('(');
    std::string text(open == std::string_view::npos ? caption : caption.substr(0, open));
    text += kEndMarker;
    return text;
}

}  // namespace volt
