#include "pty_link.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace volt::sim {
namespace {

std::string ErrnoText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// The target of the symbolic link at path, or empty when it is not one.
std::string LinkTarget(const std::string& path) {
    std::array<char, 4096> target{};
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size() - 1);
    return n > 0 ? std::string(target.data(), static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

PtyLink::PtyLink(std::string linkPath) : linkPath_(std::move(linkPath)) {}

PtyLink::~PtyLink() {
    Unplug();
}

bool PtyLink::Plug(std::string& error) {
    Unplug();
    // Raw from the start: a fresh terminal would echo and buffer lines until configured.
    termios raw{};
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B9600);
    ::cfsetospeed(&raw, B9600);
    raw.c_cflag |= CLOCAL | CREAD;
    int master = -1;
    int slave = -1;
    std::array<char, 256> name{};
    if (::openpty(&master, &slave, name.data(), &raw, nullptr) != 0) {
        error = ErrnoText("cannot create a pseudo-terminal");
        return false;
    }
    // The simulator keeps only the master: with no reader on the other side, poll reports a
    // hang-up and frames are dropped instead of piling up for the next program that opens it.
    ::close(slave);
    const int flags = ::fcntl(master, F_GETFL);
    if (flags < 0 || ::fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0 ||
        ::fcntl(master, F_SETFD, FD_CLOEXEC) != 0) {
        error = ErrnoText("cannot configure the pseudo-terminal");
        ::close(master);
        return false;
    }
    master_ = master;
    devicePath_ = name.data();

    if (!linkPath_.empty()) {
        struct stat st {};
        if (::lstat(linkPath_.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
            error = "'" + linkPath_ + "' exists and is not a symbolic link";
            Unplug();
            return false;
        }
        // A link left by an earlier run is replaced in one step, never removed first.
        const std::string temp = linkPath_ + ".new" + std::to_string(::getpid());
        ::unlink(temp.c_str());
        if (::symlink(devicePath_.c_str(), temp.c_str()) != 0) {
            error = ErrnoText("cannot create the link '" + temp + "'");
            Unplug();
            return false;
        }
        if (::rename(temp.c_str(), linkPath_.c_str()) != 0) {
            error = ErrnoText("cannot create the link '" + linkPath_ + "'");
            ::unlink(temp.c_str());
            Unplug();
            return false;
        }
    }
    return true;
}

void PtyLink::Unplug() noexcept {
    if (master_ < 0) {
        return;
    }
    // Another simulator may have taken the link over since; its link is left alone.
    if (!linkPath_.empty() && LinkTarget(linkPath_) == devicePath_) {
        ::unlink(linkPath_.c_str());
    }
    ::close(master_);
    master_ = -1;
}

void PtyLink::DrainInput() noexcept {
    std::array<std::uint8_t, 512> sink{};
    while (::read(master_, sink.data(), sink.size()) > 0) {
    }
}

PtyLink::WriteResult PtyLink::Write(std::span<const std::uint8_t> bytes) noexcept {
    if (master_ < 0) {
        return WriteResult::NoReader;
    }
    pollfd p{master_, POLLOUT, 0};
    if (::poll(&p, 1, 0) < 0 || (p.revents & POLLHUP) != 0) {
        return WriteResult::NoReader;
    }
    // Whatever the other side wrote is of no interest; reading it keeps its writes flowing.
    DrainInput();
    while (!bytes.empty()) {
        const ssize_t n = ::write(master_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno == EIO ? WriteResult::NoReader : WriteResult::Dropped;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return WriteResult::Sent;
}

}  // namespace volt::sim
