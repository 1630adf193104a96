#pragma once
// The hidden link window: the serial port, its receive path and the port search. Every receive
// event of the port feeds the frame scanner; the 100-ms timer runs the port search. All of it
// runs on the GUI thread and nothing in it blocks.

#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/frame_scanner.h"
#include "link/port_operations.h"
#include "link/port_search.h"

namespace volt {

class ChannelSink;
class FrameSink;

class TComPortF : public QObject, private PortOperations {
    Q_OBJECT

  public:
    static constexpr int kTimer1Ms = 100;
    static constexpr qint32 kBaudRate = 9600;

    // frames, channels and rxLedCountdown (the main window's) must outlive the window. The first
    // port list is read here; the timer starts at once.
    TComPortF(FrameSink& frames, ChannelSink& channels, std::int32_t& rxLedCountdown,
              QObject* parent = nullptr);
    ~TComPortF() override;

    [[nodiscard]] const FrameScanner& Scanner() const noexcept { return scanner_; }
    [[nodiscard]] const PortSearch& Search() const noexcept { return *search_; }
    // The device the port has open, empty while it is closed.
    [[nodiscard]] std::string OpenDevice() const;
    // Colours the LINK lamp from the link state (window shown, colours changed): emits
    // LinkLampChanged with the entry.
    void ShowLinkLamp();

  Q_SIGNALS:
    // The LINK lamp's colour-scheme entry (kLinkOn, kLinkOff) when it changes.
    void LinkLampChanged(int entry);

  private:
    void ComPortRxChar();
    void ComPortError(QSerialPort::SerialPortError error);
    void Timer1Timer();

    // PortOperations on the serial port.
    void ReadPortList(std::vector<std::string>& list) override;
    bool ProbePort(const std::string& port) override;
    void ClosePort() override;
    void SetPortName(const std::string& port) override;
    bool OpenPort() override;

    FrameScanner scanner_;
    QSerialPort ComPort;
    QTimer Timer1;
    std::optional<PortSearch> search_;
    std::string portName_ = "COM1";  // replaced before the first open
    std::string openDevice_;
    bool closePending_ = false;
    std::uint64_t openCount_ = 0;  // successful opens, to tell a failed port from its successor
    std::array<std::uint8_t, FrameScanner::kMaxReadBytes> readBuffer_{};
};

}  // namespace volt
