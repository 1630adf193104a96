// volttool frames, run as a program on small captures.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "monitor/frame_encoder.h"
#include "support/run_program.h"
#include "support/session_capture.h"
#include "support/temp_dir.h"

namespace volt {
namespace {

struct ToolRun {
    int status = -1;
    std::vector<nlohmann::json> lines;  // standard output, line by line, when it is JSON
    std::string out;
    std::string err;
};

ToolRun Volttool(const test::TempDir& dir, const std::string& args) {
    const test::ProgramRun program = test::RunBuiltProgram(dir, "volttool", args);
    ToolRun run;
    run.status = program.Status;
    run.out = program.Out;
    run.err = program.Err;
    if (run.out.starts_with('{')) {
        std::istringstream out(run.out);
        for (std::string line; std::getline(out, line);) {
            run.lines.push_back(nlohmann::json::parse(line));
        }
    }
    return run;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    test::WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

TEST(VolttoolFrames, EveryLayoutOnOneCapture) {
    test::TempDir dir;
    ChannelReading ch1;
    ch1.Status = 2;
    ch1.BatteryType = 1;
    ch1.Voltage = 1233;
    ch1.Cells = {411, 411, 411};
    ch1.CapacityLimit = 2200;
    std::vector<std::uint8_t> capture = {'x', 0xFF};
    auto add = [&](const std::vector<std::uint8_t>& frame) {
        capture.insert(capture.end(), frame.begin(), frame.end());
    };
    add(EncodeTwoChannelFrame(ch1, {}, {110, 4}));
    add(EncodeSingleChannelFrame(ch1));
    add(std::vector<std::uint8_t>{'{', 1, 2, '}'});
    std::vector<std::uint8_t> rejected = EncodeTwoChannelFrame(ch1, {});
    rejected[56] = 7;  // channel 2 BatteryType
    add(rejected);
    WriteBytes(dir.File("capture.bin"), capture);

    const ToolRun old =
        Volttool(dir, "frames --old-layout --chunk 3 '" + dir.File("capture.bin").string() + "'");
    ASSERT_EQ(old.status, 0) << old.err;
    ASSERT_EQ(old.lines.size(), 4u);
    const std::vector<std::pair<int, std::string>> expected = {
        {110, "two-channel"}, {76, "single-channel"}, {4, "ignored"}, {110, "rejected"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(old.lines[i]["length"], expected[i].first) << i;
        EXPECT_EQ(old.lines[i]["layout"], expected[i].second) << i;
    }
    const nlohmann::json& c = old.lines[0]["channels"];
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0]["Status"], 2);
    EXPECT_EQ(c[0]["Voltage"], 1233);
    EXPECT_EQ(c[0]["CapacityLimit"], 2200);
    EXPECT_EQ(c[0]["Cells"], nlohmann::json({411, 411, 411, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(c[1]["Status"], 0);
    EXPECT_EQ(old.lines[1]["channels"].size(), 1u);
    EXPECT_EQ(old.lines[1]["channels"][0]["Voltage"], 1233);
    EXPECT_TRUE(old.lines[2]["channels"].empty());
    EXPECT_TRUE(old.lines[3]["channels"].empty());

    // Without --old-layout the 76-byte frame is ignored; from standard input, one byte per event.
    const ToolRun plain = Volttool(dir, "frames < '" + dir.File("capture.bin").string() + "'");
    ASSERT_EQ(plain.status, 0) << plain.err;
    ASSERT_EQ(plain.lines.size(), 4u);
    EXPECT_EQ(plain.lines[1]["layout"], "ignored");

    // A chunk larger than the capture is one receive event, then the empty one hands over the
    // first frame; a chunk beyond any memory is no different.
    for (const char* chunk : {"100000", "18446744073709551615"}) {
        const ToolRun whole = Volttool(dir, std::string("frames --chunk ") + chunk + " '" +
                                                dir.File("capture.bin").string() + "'");
        ASSERT_EQ(whole.status, 0) << chunk << ": " << whole.err;
        ASSERT_EQ(whole.lines.size(), 1u) << chunk;
        EXPECT_EQ(whole.lines[0]["length"], 110) << chunk;
    }
}

TEST(VolttoolFrames, ShippedSessionDecodes) {
    test::TempDir dir;
    const char* source = std::getenv("VOLT_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const std::filesystem::path capture =
        std::filesystem::path(source) / "resources/captures/two-channel-session.bin";
    // The shipped file is what the generator makes.
    EXPECT_EQ(test::ReadBytes(capture), test::BuildTwoChannelSession());

    const ToolRun run = Volttool(dir, "frames --chunk 7 '" + capture.string() + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.lines.size(), test::kSessionFrames);
    for (std::size_t i = 0; i < run.lines.size(); ++i) {
        const auto [ch1, ch2] = test::SessionReadings(i);
        const nlohmann::json& line = run.lines[i];
        EXPECT_EQ(line["layout"], "two-channel") << i;
        EXPECT_EQ(line["channels"][0]["Voltage"], ch1.Voltage) << i;
        EXPECT_EQ(line["channels"][0]["Capacity"], ch1.Capacity) << i;
        EXPECT_EQ(line["channels"][0]["Status"], ch1.Status) << i;
        EXPECT_EQ(line["channels"][1]["Status"], 0) << i;
    }
}

TEST(VolttoolFrames, BadArgumentsExitWith2AndSayWhy) {
    test::TempDir dir;
    struct Case {
        std::string args;
        std::string message;
    };
    const Case cases[] = {
        {"frames --loud", "unknown option '--loud'"},
        {"frames --chunk 0", "positive whole number, not '0'"},
        {"frames --chunk -3", "positive whole number, not '-3'"},
        {"frames --chunk 7x", "positive whole number, not '7x'"},
        {"frames --chunk", "--chunk needs a number"},
        {"frames '" + dir.File("absent.bin").string() + "'", "cannot open"},
        {"frames a b", "only one FILE"},
        {"unheard", "unknown command 'unheard'"},
    };
    for (const Case& c : cases) {
        const ToolRun run = Volttool(dir, c.args);
        EXPECT_EQ(run.status, 2) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << c.args;
    }
    const ToolRun usage = Volttool(dir, "--help");
    EXPECT_EQ(usage.status, 0);
    EXPECT_NE(usage.out.find("frames"), std::string::npos);
    const ToolRun help = Volttool(dir, "frames --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: volttool frames [--old-layout] [--chunk N] [FILE]"),
              std::string::npos);
    EXPECT_TRUE(help.err.empty());
}

}  // namespace
}  // namespace volt
