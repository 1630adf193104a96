#pragma once
// The CSV export of a graph window: four header lines naming the run, one line per sample,
// two empty closing lines; every line ends in CR LF and fields are separated by ", " without
// quoting. The text is UTF-8 (titles and battery names are converted from Windows-1252 here).
// Two-decimal numbers are exact: integer arithmetic, halves away from zero.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/local_clock.h"

namespace volt {

class BatteryTypeNames;
class GraphDocument;

inline constexpr std::string_view kCsvColumnHeader =
    "Time, Voltage(V), Current(A), Capacity(mAh), Temperature(C/F), C1(V), C2(V), C3(V), C4(V), "
    "C5(V), C6(V), C7(V), C8(V), C9(V), C10(V), C11(V), c12(V)";

// The user's regional settings as the export uses them.
struct CsvSeparators {
    std::string Decimal = ".";  // between the whole and the two decimal digits
    std::string Time = ":";     // between hour and minute of the export moment
};

// value / divisor with two decimals, halves away from zero; divisor 1, 10, 100, 1000, ...
// A result that rounds to zero carries no minus sign.
[[nodiscard]] std::string TwoDecimals(std::int32_t value, std::int32_t divisor,
                                      std::string_view decimalSeparator);

// "yy-mm-dd hh:nn" with the given time separator.
[[nodiscard]] std::string ExportDateText(const LocalDateTime& moment,
                                         std::string_view timeSeparator);

// The text buffer the export is assembled in.
class ExportBuffer {
  public:
    explicit ExportBuffer(CsvSeparators separators = {}) : separators_(std::move(separators)) {}

    void ClearText() noexcept { text_.clear(); }
    // Lines 1 to 4: title and moment, the run line unchanged, an empty line, the column header.
    void AddHeaderLines(std::string_view title, std::string_view dateTime,
                        std::string_view runLine);
    // Seventeen fields: TimeText of the time index, Voltage / 100, Current / 1000, Capacity,
    // Temperature, then each cell / 100.
    void AddSampleLine(std::int32_t timeIndex, std::int32_t voltage, std::int32_t current,
                       std::int32_t capacity, std::int32_t temperature,
                       const std::array<std::int32_t, 12>& cells);
    // An empty line, then the text as a line.
    void AddClosingLines(std::string_view text);
    // Replaces the file through a temporary file beside it; the platform's error text on
    // failure, when the previous file is left untouched.
    [[nodiscard]] std::optional<std::string> SaveText(const std::filesystem::path& path) const;

    [[nodiscard]] const std::string& Text() const noexcept { return text_; }
    [[nodiscard]] const CsvSeparators& Separators() const noexcept { return separators_; }

  private:
    void AddDecimal(std::int32_t value, std::int32_t divisor);
    void AddInteger(std::int32_t value);

    CsvSeparators separators_;
    std::string text_;
};

// The export of one document into the buffer (cleared first): the run line from StatusNames and
// `names`, the moment as ExportDateText with the buffer's time separator, every sample of the
// list. A Mode above 3 or a BatteryType above 6 (a damaged file) returns the error text and
// leaves the buffer untouched.
[[nodiscard]] std::optional<std::string> FillCsvExport(ExportBuffer& buffer,
                                                       const GraphDocument& document,
                                                       const BatteryTypeNames& names,
                                                       const LocalDateTime& moment);

}  // namespace volt
