// voltsim: a two-channel charger on a pseudo-terminal, for running and testing the monitor
// without the hardware.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "pty_link.h"
#include "sim_frames.h"
#include "sim_options.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// 9600 baud with a start and a stop bit around each byte.
constexpr double kLineBytesPerSecond = 960;
constexpr std::chrono::milliseconds kLineSlice(10);

// SIGINT and SIGTERM wake the frame loop through this pipe.
int gStopPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
    const char byte = 's';
    const int saved = errno;
    [[maybe_unused]] const ssize_t ignored = ::write(gStopPipe[1], &byte, 1);
    errno = saved;
}

bool InstallStopHandlers() {
    if (::pipe(gStopPipe) != 0) {
        return false;
    }
    for (const int fd : gStopPipe) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGINT, &action, nullptr) == 0 &&
           ::sigaction(SIGTERM, &action, nullptr) == 0 && ::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
}

// Waits until the deadline; false when a stop signal came first.
bool WaitUntil(Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{gStopPipe[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
        if (ready > 0) {
            return false;
        }
        if (ready == 0 && Clock::now() >= deadline) {
            return true;
        }
    }
}

void Say(const std::string& text) {
    std::cerr << "voltsim: " << text << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const volt::sim::ParsedOptions parsed = volt::sim::ParseSimOptions(args);
    if (std::holds_alternative<volt::sim::ShowHelp>(parsed)) {
        std::cout << volt::sim::kSimUsage;
        return kExitOk;
    }
    if (const auto* bad = std::get_if<volt::sim::UsageError>(&parsed)) {
        std::cerr << "voltsim: " << bad->message << "\n" << volt::sim::kSimUsage;
        return kExitUsage;
    }
    const auto& options = std::get<volt::sim::SimOptions>(parsed);
    if (!InstallStopHandlers()) {
        Say("cannot install the signal handlers");
        return kExitFailed;
    }

    volt::sim::PtyLink link(options.Link);
    std::string error;
    if (!link.Plug(error)) {
        Say(error);
        return kExitFailed;
    }
    std::cout << link.Path() << std::endl;

    volt::sim::FrameSource source(options);
    const Clock::time_point start = Clock::now();
    const std::chrono::milliseconds interval(options.IntervalMs);
    bool unplugDone = false;
    // The frame on the line and how much of it has gone out.
    std::vector<std::uint8_t> line;
    std::size_t sent = 0;
    Clock::time_point lineStart = start;
    for (std::uint64_t k = 0;;) {
        const Clock::time_point nextFrame = start + k * interval;
        const bool sending = sent < line.size();
        if (!WaitUntil(sending ? std::min(nextFrame, Clock::now() + kLineSlice) : nextFrame)) {
            break;
        }
        const Clock::time_point now = Clock::now();
        if (now >= nextFrame) {
            const double wall = static_cast<double>(k) * options.IntervalMs / 1000.0;
            ++k;
            if (options.Duration && wall >= *options.Duration) {
                break;
            }
            if (options.UnplugAt && !unplugDone && link.Plugged() && wall >= *options.UnplugAt) {
                link.Unplug();
                line.clear();
                sent = 0;
                Say("unplugged");
                if (!options.ReplugAfter) {
                    unplugDone = true;
                }
            }
            if (options.UnplugAt && options.ReplugAfter && !unplugDone && !link.Plugged() &&
                wall >= *options.UnplugAt + *options.ReplugAfter) {
                if (!link.Plug(error)) {
                    Say(error);
                    return kExitFailed;
                }
                unplugDone = true;
                Say("plugged in again at " + link.DevicePath());
            }
            volt::sim::SimFrame frame = source.Next();
            // The charger starts a frame only on an idle line; one due earlier is not sent.
            if (link.Plugged() && sent == line.size()) {
                line = std::move(frame.Bytes);
                sent = 0;
                lineStart = now;
            }
        }
        if (sent < line.size()) {
            // The bytes the line has carried by now: a receiver gets a frame in several pieces.
            const auto elapsed = std::chrono::duration<double>(now - lineStart).count();
            const auto due =
                std::min(line.size(), static_cast<std::size_t>(elapsed * kLineBytesPerSecond) + 1);
            if (due > sent) {
                static_cast<void>(link.Write(std::span(line).subspan(sent, due - sent)));
                sent = due;
            }
        }
    }
    link.Unplug();
    return kExitOk;
}
