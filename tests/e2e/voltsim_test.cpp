// voltsim run as a program: its command line, its link, its stop signals, and its frames read
// back through the link by volttool frames.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "sim_frames.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace volt {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool IsLink(const fs::path& path) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(path, ec));
}

TEST(Voltsim, HelpAndBadArguments) {
    test::TempDir dir;
    {
        test::ChildProcess help("voltsim", {"--help"}, dir.File("err"));
        std::string text;
        while (const std::optional<std::string> line = help.ReadLine(5s)) {
            text += *line + "\n";
        }
        EXPECT_EQ(help.Wait(5s), 0);
        EXPECT_NE(text.find("usage: voltsim [OPTIONS]"), std::string::npos);
        EXPECT_NE(text.find("--unplug-at S"), std::string::npos);
    }
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"--loud"}, "unknown option '--loud'"},
        {{"--scenario", "lipo"}, "--scenario needs lipo-charge"},
        {{"--interval", "5"}, "--interval needs milliseconds from 20 to 60000, not '5'"},
        {{"--speed", "0"}, "--speed needs a factor above 0"},
        {{"--seed", "-1"}, "--seed needs a whole number"},
        {{"--layout", "three"}, "--layout needs two or single"},
        {{"--duration", "soon"}, "--duration needs seconds"},
        {{"--duration"}, "--duration needs a value"},
        {{"--replug-after", "1"}, "--replug-after needs --unplug-at"},
    };
    for (const Case& c : cases) {
        test::ChildProcess sim("voltsim", c.args, dir.File("err"));
        EXPECT_EQ(sim.Wait(5s), 2) << c.message;
        EXPECT_NE(Slurp(dir.File("err")).find(c.message), std::string::npos)
            << Slurp(dir.File("err"));
    }
}

TEST(Voltsim, LinkIsPrintedReplacedWhenStaleAndRemovedAtTheEnd) {
    test::TempDir dir;
    const fs::path link = dir.File("charger");
    fs::create_symlink("/dev/pts/no-such-device", link);  // left by an earlier run
    {
        const auto started = std::chrono::steady_clock::now();
        test::ChildProcess sim("voltsim", {"--link", link.string(), "--duration", "0.6"},
                               dir.File("err"));
        EXPECT_EQ(sim.ReadLine(5s), link.string());
        ASSERT_TRUE(IsLink(link));
        const fs::path device = fs::read_symlink(link);
        EXPECT_TRUE(fs::exists(device)) << device;
        EXPECT_EQ(sim.Wait(5s), 0) << Slurp(dir.File("err"));
        EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
        EXPECT_FALSE(IsLink(link));
        EXPECT_FALSE(fs::exists(device));
    }
    // A stop signal ends it as cleanly.
    for (const int signal : {SIGTERM, SIGINT}) {
        test::ChildProcess sim("voltsim", {"--link", link.string()}, dir.File("err"));
        ASSERT_EQ(sim.ReadLine(5s), link.string());
        sim.Signal(signal);
        EXPECT_EQ(sim.Wait(5s), 0) << signal;
        EXPECT_FALSE(IsLink(link)) << signal;
    }
    // Something that is not a link is never replaced.
    test::WriteFile(link, "mine");
    test::ChildProcess sim("voltsim", {"--link", link.string()}, dir.File("err"));
    EXPECT_EQ(sim.Wait(5s), 1);
    EXPECT_NE(Slurp(dir.File("err")).find("is not a symbolic link"), std::string::npos);
    EXPECT_EQ(Slurp(link), "mine");
}

TEST(Voltsim, VolttoolFramesDecodesTheStreamOnTheLinkToTheScenarioValues) {
    test::TempDir dir;
    const fs::path link = dir.File("charger");
    const std::vector<std::string> args = {
        "--scenario", "dual",   "--seed",  "9",          "--speed", "120",    "--interval",
        "50",         "--bit7", "--noise", "--duration", "1.5",     "--link", link.string()};
    test::ChildProcess sim("voltsim", args, dir.File("sim-err"));
    ASSERT_EQ(sim.ReadLine(5s), link.string());
    test::ChildProcess tool("volttool", {"frames", link.string()}, dir.File("tool-err"));
    std::vector<nlohmann::json> lines;
    while (const std::optional<std::string> line = tool.ReadLine(5s)) {
        lines.push_back(nlohmann::json::parse(*line));
    }
    EXPECT_EQ(tool.Wait(5s), 0) << Slurp(dir.File("tool-err"));  // the hang-up ends the input
    EXPECT_EQ(sim.Wait(5s), 0) << Slurp(dir.File("sim-err"));
    ASSERT_GE(lines.size(), 5u);  // about 9 frames go out while volttool listens

    // The same options make the same frames: every decoded frame is one of them, in order.
    sim::SimOptions options;
    options.Scenario = sim::ScenarioKind::Dual;
    options.Seed = 9;
    options.Speed = 120;
    options.IntervalMs = 50;
    options.Bit7 = true;
    options.Noise = true;
    sim::FrameSource source(options);
    std::size_t matched = 0;
    for (int k = 0; k < 60 && matched < lines.size(); ++k) {
        const sim::SimFrame frame = source.Next();
        const nlohmann::json& line = lines[matched];
        if (line["channels"][0]["Capacity"] == frame.Readings[0].Capacity &&
            line["channels"][1]["Capacity"] == frame.Readings[1].Capacity &&
            line["channels"][0]["Voltage"] == frame.Readings[0].Voltage) {
            EXPECT_EQ(line["layout"], "two-channel");
            for (std::size_t c = 0; c < 2; ++c) {
                const ChannelReading& r = frame.Readings[c];
                const nlohmann::json& j = line["channels"][c];
                EXPECT_EQ(j["Status"], r.Status) << k;
                EXPECT_EQ(j["BatteryType"], r.BatteryType) << k;
                EXPECT_EQ(j["Current"], r.Current) << k;
                EXPECT_EQ(j["Temperature"], r.Temperature) << k;
                EXPECT_EQ(j["Cells"], r.Cells) << k;
                EXPECT_EQ(j["InputVoltage"], r.InputVoltage) << k;
                EXPECT_EQ(j["VoltageLimit"], r.VoltageLimit) << k;
                EXPECT_EQ(j["CapacityLimit"], r.CapacityLimit) << k;
                EXPECT_EQ(j["TemperatureLimit"], r.TemperatureLimit) << k;
            }
            ++matched;
        }
    }
    EXPECT_EQ(matched, lines.size());
}

}  // namespace
}  // namespace volt
