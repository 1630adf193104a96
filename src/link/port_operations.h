#pragma once
// What the port search needs of the platform: the list of serial ports, an exclusive probe, and
// the one port the link listens on. The Qt serial port is one implementation, tests use a stub.

#include <string>
#include <vector>

namespace volt {

class PortOperations {
  public:
    virtual ~PortOperations() = default;

    // Clears list and fills it with the ports known to the system, in the order to probe them.
    virtual void ReadPortList(std::vector<std::string>& list) = 0;
    // Opens the port exclusively and closes it at once; false when it is missing or in use.
    [[nodiscard]] virtual bool ProbePort(const std::string& port) = 0;
    // Closes the link port; closing a closed port does nothing.
    virtual void ClosePort() = 0;
    // The port the next OpenPort opens.
    virtual void SetPortName(const std::string& port) = 0;
    // Opens the named port for receiving; false leaves it closed.
    [[nodiscard]] virtual bool OpenPort() = 0;
};

}  // namespace volt
