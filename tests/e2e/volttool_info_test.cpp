#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>

#include "common/byte_order.h"
#include "graph/cgm_header.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace volt {
namespace {

using RunResult = test::ProgramRun;

RunResult RunVolttool(const test::TempDir& dir, const std::string& arguments) {
    return test::RunBuiltProgram(dir, "volttool", arguments);
}

CgmHeaderImage RecordedHeader() {
    CgmHeader h;
    const std::string magic = "\x0FTARVEX_CGM_3_XP";
    std::copy(magic.begin(), magic.end(), h.FileMagic.begin());
    h.Mode = 2;
    h.BatteryType = 1;
    h.Channel = 1;
    h.CurrentVisible = 0;
    h.VoltageLimitShown = -1;
    h.VoltageLimit = 420;
    h.CapacityLimit = 2200;
    h.TemperatureLimit = 45;
    const std::string title = "CH2 Charge 25\xB0";  // Windows-1252 degree sign
    std::fill(h.Title.begin(), h.Title.end(), '\0');
    std::copy(title.begin(), title.end(), h.Title.begin());
    h.VoltageMax = 1700;
    h.VoltageMin = 1100;
    h.CurrentMax = 2500;
    h.CurrentMin = -30;
    h.CapacityMax = 600;
    h.TemperatureMax = 212;
    h.TemperatureMin = 32;
    h.CursorOn = -1;
    h.Smoothing = 0;
    h.SampleCount = 3;
    h.Fahrenheit = 1;
    return SerializeCgmHeader(h);
}

std::string AsText(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(VolttoolInfo, PrintsTheHeaderAsJson) {
    test::TempDir dir;
    const CgmHeaderImage image = RecordedHeader();
    test::WriteFile(dir.File("run.CGM"), AsText(image) + std::string(120, '\0'));
    const RunResult run = RunVolttool(dir, "info '" + dir.File("run.CGM").string() + "'");
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    const auto j = nlohmann::json::parse(run.Out);
    const nlohmann::json expected = {
        {"FileMagic", "TARVEX_CGM_3_XP"},
        {"Mode", 2},
        {"BatteryType", 1},
        {"Channel", 1},
        {"VoltageVisible", -1},
        {"CurrentVisible", 0},
        {"CapacityVisible", -1},
        {"TemperatureVisible", -1},
        {"VoltageLimitShown", -1},
        {"VoltageLimit", 420},
        {"CapacityLimitShown", 0},
        {"CapacityLimit", 2200},
        {"TemperatureLimitShown", 0},
        {"TemperatureLimit", 45},
        {"Title", "CH2 Charge 25\xC2\xB0"},
        {"VoltageMax", 1700},
        {"VoltageMin", 1100},
        {"CurrentMax", 2500},
        {"CurrentMin", -30},
        {"CapacityMax", 600},
        {"CapacityMin", 0},
        {"TemperatureMax", 212},
        {"TemperatureMin", 32},
        {"CursorOn", -1},
        {"Smoothing", 0},
        {"SampleCount", 3},
        {"Fahrenheit", 1},
    };
    EXPECT_EQ(j, expected) << j.dump(2);
    // The keys come in the order of the header.
    EXPECT_LT(run.Out.find("\"FileMagic\""), run.Out.find("\"Mode\""));
    EXPECT_LT(run.Out.find("\"SampleCount\""), run.Out.find("\"Fahrenheit\""));
}

TEST(VolttoolInfo, ShortFileKeepsTheDefaultsOfANewGraph) {
    test::TempDir dir;
    const CgmHeaderImage image = RecordedHeader();
    test::WriteFile(dir.File("short.CGM"), AsText(std::span(image).first(103)));
    const RunResult run = RunVolttool(dir, "info '" + dir.File("short.CGM").string() + "'");
    ASSERT_EQ(run.Status, 0) << run.Err;
    const auto j = nlohmann::json::parse(run.Out);
    EXPECT_EQ(j["Mode"], 2);
    EXPECT_EQ(j["CurrentVisible"], 0);
    EXPECT_EQ(j["VoltageLimitShown"], -1);  // bytes 99..102: all in the file
    EXPECT_EQ(j["VoltageLimit"], 0);        // bytes 103..106: not in the file
    EXPECT_EQ(j["Title"], "New Graph");
    EXPECT_EQ(j["VoltageMax"], 10);
    EXPECT_EQ(j["SampleCount"], 0);
}

TEST(VolttoolInfo, FailuresAndUsage) {
    test::TempDir dir;
    test::WriteFile(dir.File("other.CGM"), "\x0FTARVEX_CGM_3_XQ" + std::string(300, '\0'));
    const struct {
        const char* Name;
        std::string Arguments;
        int Status;
        bool Output;
    } cases[] = {
        {"not a run file", "info '" + dir.File("other.CGM").string() + "'", 1, false},
        {"missing file", "info '" + dir.File("none.CGM").string() + "'", 1, false},
        {"no file", "info", 2, false},
        {"two files", "info a b", 2, false},
        {"unknown option", "info --json x", 2, false},
        {"unknown command", "frobnicate", 2, false},
        {"no command", "", 2, false},
        {"help", "--help", 0, true},
        {"info help", "info --help", 0, true},
    };
    for (const auto& c : cases) {
        const RunResult run = RunVolttool(dir, c.Arguments);
        EXPECT_EQ(run.Status, c.Status) << c.Name;
        if (c.Output) {
            EXPECT_NE(run.Out.find("usage: volttool"), std::string::npos) << c.Name;
        } else {
            EXPECT_EQ(run.Out, "") << c.Name;
            EXPECT_FALSE(run.Err.empty()) << c.Name;
            if (c.Status == 1) {  // one line, naming the file
                EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
                EXPECT_NE(run.Err.find(".CGM"), std::string::npos) << run.Err;
            }
        }
    }
}

}  // namespace
}  // namespace volt
