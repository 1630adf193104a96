#pragma once
// The serial ports of this machine as the port search sees them: the list to probe, and the
// exclusive probe itself.

#include <QString>
#include <string>
#include <vector>

namespace volt {

// A device path as Qt takes file names.
[[nodiscard]] QString DevicePathText(const std::string& path);

// Clears list, then the system's serial ports sorted by name (as device paths), then every
// path in VOLTARIS_PORTS.
void ReadSerialPortList(std::vector<std::string>& list);

// The device a path names, through any symbolic links, so that locks and exclusive opens refer
// to the device itself; the path unchanged when it cannot be resolved.
[[nodiscard]] std::string SerialDevicePath(const std::string& path);

// Opens the device exclusively and closes it at once. False when it is missing, or held by
// another program: another serial port (its lock file), an exclusive terminal (TIOCEXCL), or an
// flock on the device.
[[nodiscard]] bool ProbeSerialDevice(const std::string& path);

}  // namespace volt
