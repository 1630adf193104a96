// The link window on the real serial stack: QSerialPort on pseudo-terminals, found through
// VOLTARIS_PORTS, fed by voltsim or by a pseudo-terminal the test writes to.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QLockFile>
#include <QSerialPort>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "appearance/color_scheme.h"
#include "link/com_port_form.h"
#include "link/serial_ports.h"
#include "monitor/frame_decoding.h"
#include "monitor/frame_encoder.h"
#include "sim_frames.h"
#include "support/child_process.h"
#include "support/recording_channel_sink.h"
#include "support/temp_dir.h"

namespace volt {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

void EnsureApp() {
    static int argc = 1;
    static char name[] = "serial_link_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    static_cast<void>(app);
}

// Runs the event loop until pred holds or the timeout passes.
bool WaitFor(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!pred()) {
        if (Clock::now() >= deadline) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

struct Received {
    DecodedFrame frame;
    Clock::time_point at;
};

class FrameLog : public FrameSink {
  public:
    void DecodeFrame(std::span<const std::uint8_t> frame) override {
        Frames.push_back({DecodeFrameBytes(frame, false), Clock::now()});
    }
    std::vector<Received> Frames;
};

class TimedChannelSink : public test::RecordingChannelSink {
  public:
    void SetInputVoltages(std::int16_t channel1, std::int16_t channel2) override {
        Resets.push_back(Clock::now());
        RecordingChannelSink::SetInputVoltages(channel1, channel2);
    }
    std::vector<Clock::time_point> Resets;
};

const std::vector<std::string> kLostLinkReset = {
    "SetInputVoltages(0,0)",  "UpdateChannelStatus(0)", "UpdateChannelCells(0)",
    "UpdateChannelStatus(1)", "UpdateChannelCells(1)",
};

// The link window with its sinks, on the ports listed in VOLTARIS_PORTS.
struct Monitor {
    explicit Monitor(const std::string& ports) {
        EnsureApp();
        ::setenv("VOLTARIS_PORTS", ports.c_str(), 1);
        link = std::make_unique<TComPortF>(frames, channels, rxLed);
        QObject::connect(link.get(), &TComPortF::LinkLampChanged, link.get(),
                         [this](int entry) { lamps.push_back(entry); });
    }
    ~Monitor() { ::unsetenv("VOLTARIS_PORTS"); }

    FrameLog frames;
    TimedChannelSink channels;
    std::int32_t rxLed = 5;
    std::vector<int> lamps;
    std::unique_ptr<TComPortF> link;
};

// A pseudo-terminal in raw mode; the test writes to its master.
struct TestPty {
    TestPty() {
        termios raw{};
        ::cfmakeraw(&raw);
        ::cfsetispeed(&raw, B9600);
        ::cfsetospeed(&raw, B9600);
        raw.c_cflag |= CLOCAL | CREAD;
        char name[256] = {};
        EXPECT_EQ(::openpty(&master, &slave, name, &raw, nullptr), 0);
        device = name;
        // Only the master stays, as with a charger: nobody has the device open yet.
        ::close(slave);
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~TestPty() { ::close(master); }
    void Write(const std::vector<std::uint8_t>& bytes) const {
        static_cast<void>(::write(master, bytes.data(), bytes.size()));
    }
    int master = -1;
    int slave = -1;
    std::string device;
};

// Checks that every received frame is one of the frames the simulator made with options, in
// order, and returns how many there were.
std::size_t MatchSimulatorFrames(const std::vector<Received>& received,
                                 const sim::SimOptions& options, int framesMade) {
    sim::FrameSource source(options);
    std::size_t matched = 0;
    for (int k = 0; k < framesMade && matched < received.size(); ++k) {
        const sim::SimFrame sent = source.Next();
        const DecodedFrame& got = received[matched].frame;
        if (got.Layout == FrameLayout::TwoChannel && got.Channels[0] == sent.Readings[0] &&
            got.Channels[1] == sent.Readings[1]) {
            ++matched;
        }
    }
    EXPECT_EQ(matched, received.size()) << "a frame that the simulator did not send";
    return matched;
}

// The machine's own serial ports come first in the list; the tick at which the port search
// opens the list entry path (11 ticks per entry before it).
int OpenTickOf(const TComPortF& link, const std::string& path) {
    const std::vector<std::string>& list = link.Search().PortList();
    const auto at = std::find(list.begin(), list.end(), path);
    EXPECT_NE(at, list.end()) << path;
    return 11 * static_cast<int>(at - list.begin()) + 1;
}

TEST(SerialLink, FindsTheSimulatorThroughVoltarisPortsAndDecodesWhatItSent) {
    test::TempDir dir;
    const fs::path linkPath = dir.File("charger");
    test::ChildProcess sim(
        "voltsim",
        {"--scenario", "dual", "--seed", "9", "--speed", "120", "--interval", "50", "--bit7",
         "--noise", "--duration", "25", "--link", linkPath.string()},
        dir.File("sim-err"));
    ASSERT_EQ(sim.ReadLine(5s), linkPath.string());

    // A vanished port comes first: it fails the probe and costs its 11 ticks.
    const auto started = Clock::now();
    Monitor monitor(dir.File("absent").string() + ":" + linkPath.string());
    const std::vector<std::string>& list = monitor.link->Search().PortList();
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(list.end() - 2, list.end()),
              (std::vector<std::string>{dir.File("absent").string(), linkPath.string()}));
    const int openTick = OpenTickOf(*monitor.link, linkPath.string());
    ASSERT_TRUE(WaitFor([&] { return monitor.frames.Frames.size() >= 20; }, 15s));
    const auto linkedAfter = monitor.frames.Frames.front().at - started;
    EXPECT_GE(linkedAfter, (openTick - 1) * 100ms);
    EXPECT_LT(linkedAfter, openTick * 100ms + 2s);
    EXPECT_EQ(monitor.link->OpenDevice(), fs::canonical(linkPath).string());
    EXPECT_EQ(monitor.lamps, (std::vector<int>{kLinkOff, kLinkOn}));
    EXPECT_TRUE(monitor.link->Scanner().LinkActive());
    EXPECT_TRUE(monitor.channels.Calls.empty());

    sim::SimOptions options;
    options.Scenario = sim::ScenarioKind::Dual;
    options.Seed = 9;
    options.Speed = 120;
    options.IntervalMs = 50;
    options.Bit7 = true;
    options.Noise = true;
    EXPECT_EQ(MatchSimulatorFrames(monitor.frames.Frames, options, 400),
              monitor.frames.Frames.size());
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(5s), 0);
}

TEST(SerialLink, UnplugResetsTwoSecondsAfterTheLastByteAndTheReplugIsFoundAgain) {
    test::TempDir dir;
    const fs::path linkPath = dir.File("charger");
    test::ChildProcess sim("voltsim",
                           {"--scenario", "lipo-charge", "--interval", "100", "--unplug-at", "3.5",
                            "--replug-after", "3", "--duration", "25", "--link", linkPath.string()},
                           dir.File("sim-err"));
    ASSERT_EQ(sim.ReadLine(5s), linkPath.string());
    const auto started = Clock::now();
    Monitor monitor(linkPath.string());

    // Linked well before the unplug, unless the machine has many serial ports of its own.
    ASSERT_LT(OpenTickOf(*monitor.link, linkPath.string()), 20);
    ASSERT_TRUE(WaitFor([&] { return !monitor.channels.Resets.empty(); }, 10s));
    const auto lastFrame = monitor.frames.Frames.back().at;
    const std::size_t framesBefore = monitor.frames.Frames.size();
    EXPECT_GE(framesBefore, 5u);
    EXPECT_EQ(monitor.channels.Calls, kLostLinkReset);
    EXPECT_EQ(monitor.channels.Reading(0), ChannelReading{});
    EXPECT_EQ(monitor.channels.Reading(1), ChannelReading{});
    // The last frame is handed over by the receive event of the last bytes that came, so the
    // watchdog runs from about then: 20 ticks of 100 ms.
    const auto silence = monitor.channels.Resets.front() - lastFrame;
    EXPECT_GE(silence, 1800ms);
    EXPECT_LT(silence, 2600ms);
    EXPECT_GE(monitor.channels.Resets.front() - started, 3500ms + 1800ms);  // unplugged at 3.5 s
    EXPECT_EQ(monitor.link->OpenDevice(), "");
    EXPECT_FALSE(monitor.link->Scanner().LinkActive());
    ASSERT_TRUE(WaitFor([&] { return monitor.lamps.back() == kLinkOff; }, 1s));

    // The search goes on over the vanished link and finds the new device behind it.
    ASSERT_TRUE(WaitFor([&] { return monitor.frames.Frames.size() >= framesBefore + 5; }, 8s));
    EXPECT_EQ(monitor.lamps, (std::vector<int>{kLinkOff, kLinkOn, kLinkOff, kLinkOn}));
    EXPECT_EQ(monitor.link->OpenDevice(), fs::canonical(linkPath).string());
    EXPECT_EQ(monitor.channels.Calls.size(), kLostLinkReset.size());  // one loss only
    const DecodedFrame& after = monitor.frames.Frames.back().frame;
    EXPECT_EQ(after.Channels[0].Status, 2);  // the charge went on while unplugged
    EXPECT_GT(after.Channels[0].Capacity,
              monitor.frames.Frames[framesBefore - 1].frame.Channels[0].Capacity);
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(5s), 0);
}

// Qt's lock file for a device, as another program using the same convention would take it.
fs::path LockFileOf(const std::string& device) {
    std::string name = fs::relative(device, "/dev").string();
    std::replace(name.begin(), name.end(), '/', '_');
    return fs::path("/var/lock") / ("LCK.." + name);
}

TEST(SerialLink, APortHeldByAnotherProgramFailsTheProbeAndIsSkipped) {
    EnsureApp();
    test::TempDir dir;
    TestPty bySerialPort, byLockFile, byExclusive, byFlock, free;

    QSerialPort other;
    other.setPortName(QString::fromStdString(bySerialPort.device));
    ASSERT_TRUE(other.open(QIODevice::ReadWrite)) << other.errorString().toStdString();
    QLockFile lock(QString::fromStdString(LockFileOf(byLockFile.device).string()));
    const bool lockFileTaken = lock.tryLock(0);
    const int exclusive = ::open(byExclusive.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(exclusive, 0);
    ASSERT_EQ(::ioctl(exclusive, TIOCEXCL), 0);
    const int flocked = ::open(byFlock.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(flocked, 0);
    ASSERT_EQ(::flock(flocked, LOCK_EX | LOCK_NB), 0);
    const fs::path linkToFree = dir.File("free");
    fs::create_symlink(free.device, linkToFree);

    EXPECT_FALSE(ProbeSerialDevice(bySerialPort.device));
    if (lockFileTaken) {
        EXPECT_FALSE(ProbeSerialDevice(byLockFile.device));
    } else {
        ADD_FAILURE() << "cannot take " << LockFileOf(byLockFile.device) << ": the lock file "
                      << "case was not run";
    }
    EXPECT_FALSE(ProbeSerialDevice(byExclusive.device));
    EXPECT_FALSE(ProbeSerialDevice(byFlock.device));
    EXPECT_FALSE(ProbeSerialDevice(dir.File("absent").string()));
    EXPECT_TRUE(ProbeSerialDevice(free.device));
    EXPECT_TRUE(ProbeSerialDevice(linkToFree.string()));

    // The link window skips the four held ports and opens the free one after them.
    Monitor monitor(bySerialPort.device + ":" + byLockFile.device + ":" + byExclusive.device + ":" +
                    byFlock.device + ":" + linkToFree.string());
    const ChannelReading reading = [] {
        ChannelReading r;
        r.Status = 1;
        r.BatteryType = 4;
        r.Voltage = 812;
        r.Current = 150;
        r.InputVoltage = 1204;
        r.Cells[0] = 135;
        r.CapacityLimit = 2200;
        return r;
    }();
    QTimer charger;
    QObject::connect(&charger, &QTimer::timeout, &charger, [&] {
        free.Write(EncodeTwoChannelFrame(reading, {}, {112, 3}));
    });
    charger.start(50);
    std::set<std::string> opened;
    const auto started = Clock::now();
    const int openTick = OpenTickOf(*monitor.link, linkToFree.string());
    ASSERT_TRUE(WaitFor(
        [&] {
            if (!monitor.link->OpenDevice().empty()) {
                opened.insert(monitor.link->OpenDevice());
            }
            return monitor.frames.Frames.size() >= 3;
        },
        openTick * 100ms + 5s));
    EXPECT_GE(Clock::now() - started, (openTick - 1) * 100ms);
    EXPECT_TRUE(opened.contains(free.device));
    for (const TestPty* held : {&bySerialPort, &byLockFile, &byExclusive, &byFlock}) {
        EXPECT_FALSE(opened.contains(held->device)) << held->device;
    }
    for (const Received& r : monitor.frames.Frames) {
        EXPECT_EQ(r.frame.Channels[0], reading);
    }

    // The holders were not disturbed: the other serial port still receives.
    const std::vector<std::uint8_t> hello = {'h', 'i'};
    bySerialPort.Write(hello);
    ASSERT_TRUE(WaitFor([&] { return other.bytesAvailable() >= 2; }, 2s));
    EXPECT_EQ(other.readAll(), QByteArray("hi"));
    ::close(exclusive);
    ::close(flocked);
}

}  // namespace
}  // namespace volt
