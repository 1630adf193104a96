// volttool csv: the CSV export of a run file, as the program writes it for a window opened from
// that file. The separators come from the C library's locale; the moment of line 1 is now, or
// SOURCE_DATE_EPOCH for reproducible output.

#include <langinfo.h>

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "command.h"
#include "files/csv_export.h"
#include "files/run_file.h"
#include "graph/graph_document.h"
#include "monitor/battery_type_names.h"

namespace volt::tool {
namespace {

constexpr std::string_view kDefaultTimeSeparator = ":";

void PrintCsvUsage(std::ostream& out) {
    out << "usage: volttool csv FILE [-o OUT]\n"
           "Writes the CSV export of the run file FILE to OUT, or to standard output.\n"
           "Line 1 carries the local date and time of the export; when SOURCE_DATE_EPOCH is set\n"
           "(seconds since 1970-01-01 UTC) that moment is used instead, also shown in local\n"
           "time (set TZ=UTC for the same text everywhere). The decimal and time separators\n"
           "follow the locale (LC_ALL=C gives '.' and ':'). Battery types are named with the\n"
           "built-in names.\n"
           "Exit status: 0 written, 1 FILE is missing, not a run file or damaged, or OUT cannot\n"
           "be written (nothing is written then), 2 bad arguments.\n";
}

// The text between the hour and the minute of the locale's time format, e.g. "%H:%M:%S".
std::string LocaleTimeSeparator() {
    std::string format = nl_langinfo(T_FMT);
    for (const auto& [shortForm, longForm] :
         {std::pair<std::string_view, std::string_view>{"%T", "%H:%M:%S"},
          {"%R", "%H:%M"},
          {"%r", "%I:%M:%S %p"}}) {
        for (std::size_t at; (at = format.find(shortForm)) != std::string::npos;) {
            format.replace(at, shortForm.size(), longForm);
        }
    }
    for (const std::string_view hour : {"%H", "%I", "%k", "%l", "%OH", "%OI"}) {
        const std::size_t at = format.find(hour);
        if (at == std::string::npos) {
            continue;
        }
        const std::size_t start = at + hour.size();
        const std::size_t end = format.find('%', start);
        if (end != std::string::npos && end > start) {
            return format.substr(start, end - start);
        }
        break;
    }
    return std::string(kDefaultTimeSeparator);
}

// Now, or the moment SOURCE_DATE_EPOCH names; nothing when the variable is not a number or
// names no date the calendar functions can give.
std::optional<LocalDateTime> ExportMoment() {
    std::time_t seconds = std::time(nullptr);
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr) {
        const std::string_view text(epoch);
        long long value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
            return std::nullopt;
        }
        seconds = static_cast<std::time_t>(value);
    }
    return LocalDateTimeAt(seconds);
}

}  // namespace

int RunCsvCommand(std::span<const std::string_view> args, std::istream& /*in*/, std::ostream& out,
                  std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        PrintCsvUsage(out);
        return kExitOk;
    }
    std::optional<std::string_view> file;
    std::optional<std::string_view> output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size() && !output) {
            output = args[++i];
        } else if (!args[i].starts_with('-') && !file) {
            file = args[i];
        } else {
            err << "volttool csv: unexpected argument '" << args[i]
                << "' (see volttool csv --help)\n";
            return kExitUsage;
        }
    }
    if (!file || (output && output->empty())) {
        err << "volttool csv: expected a run file and at most one -o OUT (see volttool csv "
               "--help)\n";
        return kExitUsage;
    }
    const std::optional<LocalDateTime> moment = ExportMoment();
    if (!moment) {
        err << "volttool csv: SOURCE_DATE_EPOCH is not a whole number of seconds of a "
               "representable date\n";
        return kExitUsage;
    }

    const std::string path(*file);
    const RunFileRead read = ReadRunFile(std::filesystem::path(path));
    switch (read.Report.Status) {
        case RunFileReadStatus::Loaded:
            break;
        case RunFileReadStatus::Missing:
            err << "volttool csv: " << path << ": no such file\n";
            return kExitFailed;
        case RunFileReadStatus::NotRunFile:
            err << "volttool csv: " << path << ": not a run file\n";
            return kExitFailed;
        case RunFileReadStatus::OutOfMemory:
            err << "volttool csv: " << path << ": out of memory\n";
            return kExitFailed;
    }

    std::setlocale(LC_ALL, "");
    const std::lconv* conventions = std::localeconv();
    CsvSeparators separators;
    if (conventions != nullptr && conventions->decimal_point != nullptr &&
        conventions->decimal_point[0] != '\0') {
        separators.Decimal = conventions->decimal_point;
    }
    separators.Time = LocaleTimeSeparator();

    ExportBuffer buffer(separators);
    if (const auto error = FillCsvExport(buffer, *read.Document, BatteryTypeNames{}, *moment)) {
        err << "volttool csv: " << path << ": " << *error << "\n";
        return kExitFailed;
    }
    if (output) {
        if (const auto error = buffer.SaveText(std::filesystem::path(std::string(*output)))) {
            err << "volttool csv: " << *error << "\n";
            return kExitFailed;
        }
        return kExitOk;
    }
    out << buffer.Text();
    out.flush();
    return out ? kExitOk : kExitFailed;
}

}  // namespace volt::tool
