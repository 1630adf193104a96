#include "files/csv_export.h"

#include <charconv>
#include <cstdlib>

#include "common/cp1252.h"
#include "common/file_replace.h"
#include "common/local_clock.h"
#include "files/run_identity.h"
#include "graph/graph_document.h"
#include "graph/time_text.h"
#include "monitor/battery_type_names.h"
#include "monitor/status_names.h"

namespace volt {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kFieldSeparator = ", ";
constexpr std::int32_t kVoltageDivisor = 100;   // 1/100 V
constexpr std::int32_t kCurrentDivisor = 1000;  // mA
constexpr std::int64_t kHundredths = 100;

void AppendInteger(std::string& text, std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

// Exact: hundredths = |value| * 100 / divisor, rounded half away from zero, in 64 bits so that
// INT32_MIN has a magnitude.
void AppendTwoDecimals(std::string& text, std::int32_t value, std::int32_t divisor,
                       std::string_view decimalSeparator) {
    const std::int64_t magnitude = std::llabs(static_cast<std::int64_t>(value));
    const std::int64_t d = divisor;
    const std::int64_t hundredths = (2 * magnitude * kHundredths + d) / (2 * d);
    if (value < 0 && hundredths != 0) {
        text += '-';
    }
    AppendInteger(text, hundredths / kHundredths);
    text += decimalSeparator;
    const auto fraction = static_cast<int>(hundredths % kHundredths);
    text += static_cast<char>('0' + fraction / 10);
    text += static_cast<char>('0' + fraction % 10);
}

}  // namespace

std::string TwoDecimals(std::int32_t value, std::int32_t divisor,
                        std::string_view decimalSeparator) {
    std::string text;
    AppendTwoDecimals(text, value, divisor, decimalSeparator);
    return text;
}

std::string ExportDateText(const LocalDateTime& moment, std::string_view timeSeparator) {
    std::string text = TwoDigitText(moment.Year) + '-' + TwoDigitText(moment.Month) + '-' +
                       TwoDigitText(moment.Day) + ' ' + TwoDigitText(moment.Hour);
    text += timeSeparator;
    text += TwoDigitText(moment.Minute);
    return text;
}

void ExportBuffer::AddHeaderLines(std::string_view title, std::string_view dateTime,
                                  std::string_view runLine) {
    text_ += title;
    text_ += kFieldSeparator;
    text_ += dateTime;
    text_ += kFieldSeparator;
    text_ += kLineEnd;
    text_ += runLine;
    text_ += kLineEnd;
    text_ += kLineEnd;
    text_ += kCsvColumnHeader;
    text_ += kLineEnd;
}

void ExportBuffer::AddDecimal(std::int32_t value, std::int32_t divisor) {
    text_ += kFieldSeparator;
    AppendTwoDecimals(text_, value, divisor, separators_.Decimal);
}

void ExportBuffer::AddInteger(std::int32_t value) {
    text_ += kFieldSeparator;
    AppendInteger(text_, value);
}

void ExportBuffer::AddSampleLine(std::int32_t timeIndex, std::int32_t voltage, std::int32_t current,
                                 std::int32_t capacity, std::int32_t temperature,
                                 const std::array<std::int32_t, 12>& cells) {
    text_ += TimeText(timeIndex);
    AddDecimal(voltage, kVoltageDivisor);
    AddDecimal(current, kCurrentDivisor);
    AddInteger(capacity);
    AddInteger(temperature);
    for (const std::int32_t cell : cells) {
        AddDecimal(cell, kVoltageDivisor);
    }
    text_ += kLineEnd;
}

void ExportBuffer::AddClosingLines(std::string_view text) {
    text_ += kLineEnd;
    text_ += text;
    text_ += kLineEnd;
}

std::optional<std::string> ExportBuffer::SaveText(const std::filesystem::path& path) const {
    return ReplaceFileContents(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text_.data()), text_.size()));
}

std::optional<std::string> FillCsvExport(ExportBuffer& buffer, const GraphDocument& document,
                                         const BatteryTypeNames& names,
                                         const LocalDateTime& moment) {
    const CgmHeader& h = document.Header;
    if (std::optional<std::string> error = ModeError(h)) {
        return error;
    }
    if (std::optional<std::string> error = BatteryTypeError(h)) {
        return error;
    }
    buffer.ClearText();
    const std::string runLine =
        Cp1252ToUtf8(StatusNames[h.Mode]) + ", " + Cp1252ToUtf8(names[h.BatteryType]) + ", ";
    buffer.AddHeaderLines(Cp1252ToUtf8(TitleText(h)),
                          ExportDateText(moment, buffer.Separators().Time), runLine);
    ForEachSample(document, [&buffer](const SampleRecord& s) {
        std::array<std::int32_t, kCellCount> cells{};
        std::copy(s.Cells.begin(), s.Cells.end(), cells.begin());
        buffer.AddSampleLine(s.TimeIndex, s.Voltage, s.Current, s.Capacity, s.Temperature, cells);
    });
    buffer.AddClosingLines("");
    return std::nullopt;
}

}  // namespace volt
