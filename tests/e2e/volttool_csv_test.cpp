#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/byte_order.h"
#include "files/csv_export.h"
#include "files/run_file.h"
#include "graph/graph_document.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace volt {
namespace {

constexpr const char* kFixedMoment = "1767323045";  // 2026-01-02 03:04:05 UTC

using RunResult = test::ProgramRun;
using test::Quoted;

std::string Text(const std::filesystem::path& path) {
    return test::ReadText(path);
}

RunResult RunVolttool(const test::TempDir& dir, const std::string& environment,
                      const std::string& arguments) {
    return test::RunBuiltProgram(dir, "volttool", arguments, environment);
}

void SaveRun(const std::filesystem::path& path, std::uint8_t batteryType) {
    GraphDocument document;
    SetTitle(document, "Pack, 3S \xB0");
    document.Header.Mode = 2;
    document.Header.BatteryType = batteryType;
    SampleValues v;
    v.Voltage = 1234;
    v.Current = 1505;
    v.Capacity = 250;
    v.Temperature = 25;
    v.Cells.fill(412);
    ASSERT_NE(AppendSampleNode(document, v), nullptr);
    v.Current = -1505;
    v.Cells[11] = -5;
    ASSERT_NE(AppendSampleNode(document, v), nullptr);
    document.Header.SampleCount = 2;
    ASSERT_EQ(WriteRunFile(document, path), std::nullopt);
}

std::string ExpectedCsv(const std::string& moment) {
    return "Pack, 3S \xC2\xB0, " + moment + ", \r\nCharge, LiPo, \r\n\r\n" +
           std::string(kCsvColumnHeader) +
           "\r\n00:01, 12.34, 1.51, 250, 25, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, "
           "4.12, 4.12, 4.12\r\n"
           "00:02, 12.34, -1.51, 250, 25, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, "
           "4.12, 4.12, -0.05\r\n\r\n\r\n";
}

TEST(VolttoolCsv, ExportsARunFile) {
    test::TempDir dir;
    SaveRun(dir.File("run.CGM"), 1);
    const std::string fixed = std::string("SOURCE_DATE_EPOCH=") + kFixedMoment + " LC_ALL=C";

    RunResult run = RunVolttool(dir, fixed + " TZ=UTC", "csv " + Quoted(dir.File("run.CGM")));
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, ExpectedCsv("26-01-02 03:04"));
    EXPECT_EQ(run.Err, "");

    // The moment is shown in local time: here nine hours east of UTC.
    run = RunVolttool(dir, fixed + " TZ=XST-9",
                      "csv " + Quoted(dir.File("run.CGM")) + " -o " + Quoted(dir.File("run.CSV")));
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(Text(dir.File("run.CSV")), ExpectedCsv("26-01-02 12:04"));

    // Without SOURCE_DATE_EPOCH the moment is now; only its shape is known.
    run = RunVolttool(dir, "-u SOURCE_DATE_EPOCH LC_ALL=C", "csv " + Quoted(dir.File("run.CGM")));
    ASSERT_EQ(run.Status, 0) << run.Err;
    const std::string first = run.Out.substr(0, run.Out.find("\r\n"));
    ASSERT_EQ(first.size(), std::string("Pack, 3S \xC2\xB0, yy-mm-dd hh:nn, ").size()) << first;
    EXPECT_EQ(first.substr(first.size() - 5, 1), ":") << first;
}

TEST(VolttoolCsv, FailuresWriteNothing) {
    test::TempDir dir;
    test::WriteFile(dir.File("other.CGM"), "\x0FTARVEX_CGM_3_XQ" + std::string(300, '\0'));
    SaveRun(dir.File("damaged.CGM"), 9);
    SaveRun(dir.File("run.CGM"), 1);
    test::WriteFile(dir.File("plain"), "x");
    const std::string out = " -o " + Quoted(dir.File("out.CSV"));
    const std::string env = std::string("SOURCE_DATE_EPOCH=") + kFixedMoment + " LC_ALL=C TZ=UTC";
    const struct {
        const char* Name;
        std::string Environment;
        std::string Arguments;
        int Status;
    } cases[] = {
        {"not a run file", env, "csv " + Quoted(dir.File("other.CGM")) + out, 1},
        {"not a run file to stdout", env, "csv " + Quoted(dir.File("other.CGM")), 1},
        {"missing file", env, "csv " + Quoted(dir.File("none.CGM")) + out, 1},
        {"damaged battery type", env, "csv " + Quoted(dir.File("damaged.CGM")) + out, 1},
        {"output cannot be created", env,
         "csv " + Quoted(dir.File("run.CGM")) + " -o " + Quoted(dir.File("plain") / "x.CSV"), 1},
        {"no file", env, "csv", 2},
        {"-o without a name", env, "csv " + Quoted(dir.File("run.CGM")) + " -o", 2},
        {"two files", env, "csv a b", 2},
        {"two outputs", env, "csv a -o b -o c", 2},
        {"unknown option", env, "csv --json a", 2},
        {"bad SOURCE_DATE_EPOCH", "SOURCE_DATE_EPOCH=tomorrow",
         "csv " + Quoted(dir.File("run.CGM")) + out, 2},
        {"SOURCE_DATE_EPOCH beyond every year", "SOURCE_DATE_EPOCH=67768004603225304 TZ=UTC",
         "csv " + Quoted(dir.File("run.CGM")) + out, 2},
    };
    for (const auto& c : cases) {
        const RunResult run = RunVolttool(dir, c.Environment, c.Arguments);
        EXPECT_EQ(run.Status, c.Status) << c.Name << ": " << run.Err;
        EXPECT_EQ(run.Out, "") << c.Name;
        EXPECT_FALSE(std::filesystem::exists(dir.File("out.CSV"))) << c.Name;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << c.Name << ": " << run.Err;
    }
    const RunResult help = RunVolttool(dir, env, "csv --help");
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("usage: volttool csv FILE [-o OUT]"), std::string::npos);
    const RunResult list = RunVolttool(dir, env, "--help");
    EXPECT_NE(list.Out.find("  csv "), std::string::npos) << list.Out;
}

}  // namespace
}  // namespace volt
