#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "files/csv_export.h"
#include "files/run_file.h"
#include "graph/graph_document.h"
#include "monitor/battery_type_names.h"
#include "support/temp_dir.h"

namespace volt {
namespace {

const std::string kHeaderLine = std::string(kCsvColumnHeader) + "\r\n";
const LocalDateTime kMoment{2026, 3, 4, 5, 6, 7};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

std::array<std::int32_t, 12> Cells(std::int32_t value) {
    std::array<std::int32_t, 12> cells{};
    cells.fill(value);
    return cells;
}

TEST(CsvExport, TwoDecimalsAreExactWithHalvesAwayFromZero) {
    const struct {
        std::int32_t Value;
        std::int32_t Divisor;
        const char* Separator;
        const char* Expected;
    } cases[] = {
        {1234, 100, ".", "12.34"},
        {1500, 1000, ".", "1.50"},
        {1505, 1000, ".", "1.51"},
        {-1505, 1000, ".", "-1.51"},
        {1504, 1000, ".", "1.50"},
        {-5, 100, ".", "-0.05"},
        {5, 1000, ".", "0.01"},
        {-5, 1000, ".", "-0.01"},
        {-4, 1000, ".", "0.00"},  // rounds to zero: no sign
        {0, 100, ".", "0.00"},
        {INT32_MIN, 100, ".", "-21474836.48"},
        {INT32_MIN, 1000, ".", "-2147483.65"},
        {INT32_MAX, 1000, ".", "2147483.65"},
        {-1505, 1000, ",", "-1,51"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TwoDecimals(c.Value, c.Divisor, c.Separator), c.Expected)
            << c.Value << " / " << c.Divisor;
    }
}

TEST(CsvExport, SampleLines) {
    ExportBuffer buffer;
    buffer.AddSampleLine(65, 1234, 1500, 250, 25, Cells(412));
    EXPECT_EQ(buffer.Text(),
              "01:05, 12.34, 1.50, 250, 25, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, "
              "4.12, 4.12, 4.12\r\n");

    buffer.ClearText();
    std::array<std::int32_t, 12> cells{};
    for (std::size_t i = 0; i < cells.size(); ++i) {
        cells[i] = static_cast<std::int32_t>(i) - 3;
    }
    buffer.AddSampleLine(3600, -5, INT32_MIN, -250, -40, cells);
    EXPECT_EQ(buffer.Text(),
              "1:00:00, -0.05, -2147483.65, -250, -40, -0.03, -0.02, -0.01, 0.00, 0.01, 0.02, "
              "0.03, 0.04, 0.05, 0.06, 0.07, 0.08\r\n");

    const struct {
        std::int32_t TimeIndex;
        const char* Time;
    } times[] = {{1, "00:01"},    {59, "00:59"},     {60, "01:00"},
                 {3599, "59:59"}, {3600, "1:00:00"}, {28800, "8:00:00"}};
    for (const auto& t : times) {
        buffer.ClearText();
        buffer.AddSampleLine(t.TimeIndex, 0, 0, 0, 0, Cells(0));
        EXPECT_EQ(buffer.Text().substr(0, buffer.Text().find(',')), t.Time) << t.TimeIndex;
    }

    ExportBuffer local(CsvSeparators{",", "."});
    local.AddSampleLine(1, 1234, -1505, 1, 2, Cells(7));
    EXPECT_EQ(local.Text().substr(0, 35), "00:01, 12,34, -1,51, 1, 2, 0,07, 0,");
}

TEST(CsvExport, WindowWithoutSamplesGivesSixLines) {
    GraphDocument document;
    SetTitle(document, "Pack 3, 2200 mAh, 25\xB0");  // commas stay; Windows-1252 degree sign
    document.Header.Mode = 0;
    document.Header.BatteryType = 1;
    ExportBuffer buffer;
    ASSERT_EQ(FillCsvExport(buffer, document, BatteryTypeNames{}, kMoment), std::nullopt);
    EXPECT_EQ(buffer.Text(),
              "Pack 3, 2200 mAh, 25\xC2\xB0, 26-03-04 05:06, \r\n"
              "IDLE, LiPo, \r\n"
              "\r\n" +
                  kHeaderLine + "\r\n\r\n");
    EXPECT_EQ(Lines(buffer.Text()).size(), 6u);

    ExportBuffer local(CsvSeparators{",", "."});
    ASSERT_EQ(FillCsvExport(local, document, BatteryTypeNames{}, {1999, 12, 31, 23, 59, 0}),
              std::nullopt);
    EXPECT_EQ(Lines(local.Text())[0], "Pack 3, 2200 mAh, 25\xC2\xB0, 99-12-31 23.59, ");
}

TEST(CsvExport, EverySampleOfTheListInOrder) {
    GraphDocument document;
    document.Header.Mode = 2;
    document.Header.BatteryType = 4;
    document.Header.Fahrenheit = 1;
    for (int k = 1; k <= 65; ++k) {
        SampleValues v;
        v.Voltage = 1234;
        v.Current = 1500;
        v.Capacity = 250;
        v.Temperature = k == 65 ? 25 : 77 + k;  // Fahrenheit integers as stored
        v.Cells.fill(412);
        ASSERT_NE(AppendSampleNode(document, v), nullptr);
        ++document.Header.SampleCount;
    }
    ExportBuffer buffer;
    buffer.AddHeaderLines("left over", "from", "before");
    ASSERT_EQ(FillCsvExport(buffer, document, BatteryTypeNames{}, kMoment), std::nullopt);
    const auto lines = Lines(buffer.Text());
    ASSERT_EQ(lines.size(), 4u + 65u + 2u);
    EXPECT_EQ(lines[0], "New Graph, 26-03-04 05:06, ");
    EXPECT_EQ(lines[1], "Charge, NiMh, ");
    EXPECT_EQ(lines[4].substr(0, 31), "00:01, 12.34, 1.50, 250, 78, 4.");
    EXPECT_EQ(lines[4 + 64],
              "01:05, 12.34, 1.50, 250, 25, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, "
              "4.12, 4.12, 4.12");
    EXPECT_EQ(lines[69], "");
    EXPECT_EQ(lines[70], "");
}

TEST(CsvExport, RunLineByModeAndDamagedIdentity) {
    const struct {
        std::uint8_t Mode;
        std::uint8_t BatteryType;
        const char* RunLine;  // nullptr: the export ends with an error
    } cases[] = {
        {0, 0, "IDLE, , "}, {1, 6, "Discharge, Pb, "}, {3, 1, ", LiPo, "}, {4, 1, nullptr},
        {255, 1, nullptr},  {1, 7, nullptr},           {1, 255, nullptr},
    };
    for (const auto& c : cases) {
        GraphDocument document;
        document.Header.Mode = c.Mode;
        document.Header.BatteryType = c.BatteryType;
        ExportBuffer buffer;
        buffer.AddClosingLines("kept");
        const auto error = FillCsvExport(buffer, document, BatteryTypeNames{}, kMoment);
        if (c.RunLine == nullptr) {
            ASSERT_TRUE(error.has_value()) << int{c.Mode} << "/" << int{c.BatteryType};
            EXPECT_NE(error->find("damaged"), std::string::npos) << *error;
            EXPECT_EQ(buffer.Text(), "\r\nkept\r\n");
        } else {
            ASSERT_EQ(error, std::nullopt);
            EXPECT_EQ(Lines(buffer.Text())[1], c.RunLine);
        }
    }
}

TEST(CsvExport, SaveTextReplacesTheFileOrLeavesItUntouched) {
    test::TempDir dir;
    ExportBuffer buffer;
    buffer.AddClosingLines("first");
    ASSERT_EQ(buffer.SaveText(dir.File("run.CSV")), std::nullopt);
    buffer.ClearText();
    buffer.AddClosingLines("second");
    ASSERT_EQ(buffer.SaveText(dir.File("run.CSV")), std::nullopt);  // no question asked
    const auto bytes = test::ReadBytes(dir.File("run.CSV"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "\r\nsecond\r\n");

    // A folder where the temporary file would go makes the write fail.
    std::filesystem::create_directory(dir.File("run.CSV.tmp~"));
    std::filesystem::create_directory(dir.File("run.CSV.tmp~") / "keep");
    buffer.AddClosingLines("third");
    const auto error = buffer.SaveText(dir.File("run.CSV"));
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("run.CSV"), std::string::npos) << *error;
    EXPECT_EQ(test::ReadBytes(dir.File("run.CSV")), bytes);
}

TEST(CsvExport, RunFileOpenedAndExported) {
    // The road of volttool csv: a saved run, opened again, exported.
    test::TempDir dir;
    GraphDocument recorded;
    SetTitle(recorded, "CH1 Discharge");
    recorded.Header.Mode = 1;
    recorded.Header.BatteryType = 3;
    SampleValues v;
    v.Voltage = 399;
    v.Current = -2005;
    v.Temperature = 31;
    v.Cells[0] = -1;
    ASSERT_NE(AppendSampleNode(recorded, v), nullptr);
    recorded.Header.SampleCount = 1;
    ASSERT_EQ(WriteRunFile(recorded, dir.File("r.CGM")), std::nullopt);

    const RunFileRead read = ReadRunFile(dir.File("r.CGM"));
    ExportBuffer buffer;
    ASSERT_EQ(FillCsvExport(buffer, *read.Document, BatteryTypeNames{}, kMoment), std::nullopt);
    EXPECT_EQ(buffer.Text(), "CH1 Discharge, 26-03-04 05:06, \r\nDischarge, LiIo, \r\n\r\n" +
                                 kHeaderLine +
                                 "00:01, 3.99, -2.01, 0, 31, -0.01, 0.00, 0.00, 0.00, 0.00, 0.00, "
                                 "0.00, 0.00, 0.00, 0.00, 0.00, 0.00\r\n\r\n\r\n");
}

}  // namespace
}  // namespace volt
