#include "link/port_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "appearance/color_scheme.h"
#include "link/frame_scanner.h"
#include "link/port_operations.h"
#include "support/recording_channel_sink.h"

namespace volt {
namespace {

// The system's ports as the search sees them, with every call logged as "<tick>:<call>".
class FakePorts : public PortOperations {
  public:
    void ReadPortList(std::vector<std::string>& list) override {
        Log.push_back(Stamp("list"));
        list = Registry;
    }
    bool ProbePort(const std::string& port) override {
        Log.push_back(Stamp("probe " + port));
        return Present.contains(port) && Held != port;
    }
    void ClosePort() override {
        Log.push_back(Stamp("close"));
        OpenPortName.clear();
    }
    void SetPortName(const std::string& port) override { name_ = port; }
    bool OpenPort() override {
        if (OpenFails.contains(name_)) {
            Log.push_back(Stamp("open failed " + name_));
            return false;
        }
        Log.push_back(Stamp("open " + name_));
        OpenPortName = name_;
        return true;
    }

    // The log lines of one kind ("probe", "open", "list", "close").
    [[nodiscard]] std::vector<std::string> Calls(std::string_view kind) const {
        std::vector<std::string> lines;
        for (const std::string& line : Log) {
            if (line.substr(line.find(':') + 1).starts_with(kind)) {
                lines.push_back(line);
            }
        }
        return lines;
    }

    int Tick = 0;
    std::vector<std::string> Registry;
    std::set<std::string> Present;    // pass the probe
    std::set<std::string> OpenFails;  // pass the probe, then fail to open
    std::string Held;                 // in use by another program
    std::string OpenPortName;
    std::vector<std::string> Log;

  private:
    [[nodiscard]] std::string Stamp(const std::string& call) const {
        return std::to_string(Tick) + ":" + call;
    }
    std::string name_ = "COM1";
};

class NoFrames : public FrameSink {
  public:
    void DecodeFrame(std::span<const std::uint8_t>) override {}
};

const std::vector<std::string> kLostLinkReset = {
    "SetInputVoltages(0,0)",  "UpdateChannelStatus(0)", "UpdateChannelCells(0)",
    "UpdateChannelStatus(1)", "UpdateChannelCells(1)",
};

struct Link {
    explicit Link(std::vector<std::string> registry, std::set<std::string> present) {
        ports.Registry = std::move(registry);
        ports.Present = std::move(present);
        search.emplace(ports, scanner, channels);
    }

    // Runs the 100-ms tick up to and including tick number last.
    void RunTo(int last) {
        while (ports.Tick < last) {
            ++ports.Tick;
            if (const std::optional<int> lamp = search->Timer1Timer()) {
                lamps.emplace_back(ports.Tick, *lamp);
            }
        }
    }
    // A receive event between the current tick and the next.
    void Receive(std::string_view bytes) {
        scanner.ComPortRxChar({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    }

    FakePorts ports;
    NoFrames frames;
    std::int32_t rxLed = 5;
    FrameScanner scanner{frames, rxLed};
    test::RecordingChannelSink channels;
    std::optional<PortSearch> search;
    std::vector<std::pair<int, int>> lamps;  // tick, colour entry
};

using Lines = std::vector<std::string>;
using Lamps = std::vector<std::pair<int, int>>;

TEST(PortSearch, ChargerOnTheSecondOfTwoPortsIsOpenedAtTick12AndLinksAtTheNextTick) {
    Link link({"COM1", "COM3"}, {"COM1", "COM3"});
    link.RunTo(12);
    EXPECT_EQ(link.ports.Log, (Lines{"0:list", "1:probe COM1", "1:close", "1:open COM1",
                                     "12:probe COM3", "12:close", "12:open COM3"}));
    link.Receive("{");
    link.RunTo(13);
    EXPECT_EQ(link.lamps, (Lamps{{1, kLinkOff}, {13, kLinkOn}}));

    // Linked: steady data, no probing and no list reading, however long.
    for (int tick = 20; tick <= 200; tick += 10) {
        link.Receive("xx");
        link.RunTo(tick);
    }
    EXPECT_EQ(link.ports.Log.size(), 7u);
    EXPECT_EQ(link.ports.OpenPortName, "COM3");
    EXPECT_TRUE(link.channels.Calls.empty());
    EXPECT_EQ(link.lamps.size(), 2u);
}

TEST(PortSearch, UnplugResetsTwoSecondsAfterTheLastEventAndSearchesOnFromTheNextPort) {
    Link link({"A", "B", "C"}, {"A", "B", "C"});
    link.RunTo(12);  // B opened
    link.Receive("{");
    link.channels.Readings[0].Voltage = 1234;
    link.channels.Readings[1].Cells[0] = 411;
    link.channels.InputVoltages = {1500, 1500};
    link.RunTo(30);
    link.Receive("}");  // the last receive event, between ticks 30 and 31
    link.ports.Present.erase("B");
    link.RunTo(49);
    EXPECT_TRUE(link.channels.Calls.empty());
    const std::size_t before = link.ports.Log.size();
    link.RunTo(50);  // 20 ticks after the last event
    EXPECT_EQ(link.channels.Calls, kLostLinkReset);
    EXPECT_EQ(link.channels.Reading(0), ChannelReading{});
    EXPECT_EQ(link.channels.Reading(1), ChannelReading{});
    EXPECT_EQ(
        Lines(link.ports.Log.begin() + static_cast<std::ptrdiff_t>(before), link.ports.Log.end()),
        Lines{"50:close"});
    EXPECT_FALSE(link.scanner.LinkActive());
    EXPECT_EQ(link.scanner.LinkWatchdog(), 0);
    EXPECT_EQ(link.lamps.back(), (std::pair{13, kLinkOn}));

    // The lamp goes off at the next tick, which probes C at once: PortIndex survived the loss.
    link.RunTo(75);
    EXPECT_EQ(link.lamps.back(), (std::pair{51, kLinkOff}));
    EXPECT_EQ(link.ports.Calls("probe"),
              (Lines{"1:probe A", "12:probe B", "51:probe C", "63:probe A", "74:probe B"}));
    EXPECT_EQ(link.ports.Calls("list"), (Lines{"0:list", "62:list"}));
    EXPECT_EQ(link.ports.OpenPortName, "A");  // B is gone: A stays open for B's 11 ticks
    EXPECT_EQ(link.channels.Calls.size(), kLostLinkReset.size());
}

TEST(PortSearch, ListChangesTakeEffectOnlyAtTheNextPass) {
    Link link({"A", "B", "C"}, {});
    link.RunTo(5);
    link.ports.Registry = {"A", "C", "D"};  // B vanishes, D is plugged in
    link.RunTo(80);
    EXPECT_EQ(link.ports.Calls("probe"),
              (Lines{"1:probe A", "12:probe B", "23:probe C", "35:probe A", "46:probe C",
                     "57:probe D", "69:probe A", "80:probe C"}));
    EXPECT_EQ(link.ports.Calls("list"), (Lines{"0:list", "34:list", "68:list"}));
    EXPECT_TRUE(link.ports.Calls("open").empty());
    EXPECT_EQ(link.lamps, (Lamps{{1, kLinkOff}}));
}

TEST(PortSearch, FailedProbesAndFailedOpensMoveOnToTheNextPort) {
    Link link({"A", "B", "C"}, {"A", "B", "C"});
    link.ports.OpenFails = {"A"};
    link.ports.Held = "B";
    link.RunTo(36);
    // A passes the probe but does not open; it is not retried before the next pass.
    EXPECT_EQ(link.ports.Calls("probe"),
              (Lines{"1:probe A", "12:probe B", "23:probe C", "35:probe A"}));
    EXPECT_EQ(link.ports.Calls("open"),
              (Lines{"1:open failed A", "23:open C", "35:open failed A"}));
    EXPECT_EQ(link.ports.Calls("close"), (Lines{"1:close", "23:close", "34:close", "35:close"}));
    EXPECT_EQ(link.ports.OpenPortName, "");
}

TEST(PortSearch, BytesWithoutBracesReloadTheWatchdogButDoNotStopTheSearch) {
    Link link({"A", "B"}, {"A", "B"});
    link.RunTo(5);
    link.Receive("noise");  // no brace: the search goes on, the watchdog runs from 20
    link.RunTo(24);
    EXPECT_EQ(link.ports.Calls("open"), (Lines{"1:open A", "12:open B", "24:open A"}));
    EXPECT_TRUE(link.channels.Calls.empty());
    link.RunTo(25);  // 20 ticks after the event: the port is closed and both channels reset
    EXPECT_EQ(link.channels.Calls, kLostLinkReset);
    EXPECT_EQ(link.ports.Log.back(), "25:close");
    link.RunTo(26);  // the reset cleared the dwell, so B is probed at once
    EXPECT_EQ(link.ports.Calls("probe").back(), "26:probe B");
    EXPECT_EQ(link.lamps, (Lamps{{1, kLinkOff}}));
}

TEST(PortSearch, NoPortsReadsTheListEveryTick) {
    Link link({}, {});
    link.RunTo(3);
    EXPECT_EQ(link.ports.Log,
              (Lines{"0:list", "1:list", "1:close", "2:list", "2:close", "3:list", "3:close"}));
    EXPECT_EQ(link.lamps, (Lamps{{1, kLinkOff}}));
    // A later list with a port in it is probed at the tick after the read.
    link.ports.Registry = {"A"};
    link.RunTo(5);
    EXPECT_EQ(link.ports.Calls("probe"), (Lines{"5:probe A"}));
}

TEST(PortSearch, ShowLinkLampRepaintsTheCurrentStateAndTheTickThenStaysQuiet) {
    Link link({"A"}, {"A"});
    EXPECT_EQ(link.search->LinkLamp(), 0);
    EXPECT_EQ(link.search->ShowLinkLamp(), kLinkOff);
    link.RunTo(1);
    EXPECT_TRUE(link.lamps.empty());  // already off
    link.Receive("}");
    EXPECT_EQ(link.search->ShowLinkLamp(), kLinkOn);
    link.RunTo(2);
    EXPECT_TRUE(link.lamps.empty());
}

}  // namespace
}  // namespace volt
