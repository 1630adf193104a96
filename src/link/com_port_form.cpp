#include "link/com_port_form.h"

#include <QMetaObject>
#include <QtGlobal>

#include "link/serial_ports.h"

#ifdef Q_OS_UNIX
#include <sys/file.h>
#endif

namespace volt {

TComPortF::TComPortF(FrameSink& frames, ChannelSink& channels, std::int32_t& rxLedCountdown,
                     QObject* parent)
    : QObject(parent), scanner_(frames, rxLedCountdown), ComPort(this), Timer1(this) {
    ComPort.setBaudRate(kBaudRate);
    ComPort.setDataBits(QSerialPort::Data8);
    ComPort.setParity(QSerialPort::NoParity);
    ComPort.setStopBits(QSerialPort::OneStop);
    ComPort.setFlowControl(QSerialPort::NoFlowControl);
    connect(&ComPort, &QSerialPort::readyRead, this, &TComPortF::ComPortRxChar);
    connect(&ComPort, &QSerialPort::errorOccurred, this, &TComPortF::ComPortError);
    search_.emplace(static_cast<PortOperations&>(*this), scanner_, channels);
    Timer1.setInterval(kTimer1Ms);
    connect(&Timer1, &QTimer::timeout, this, &TComPortF::Timer1Timer);
    Timer1.start();
}

TComPortF::~TComPortF() {
    Timer1.stop();
    ClosePort();
}

std::string TComPortF::OpenDevice() const {
    return ComPort.isOpen() ? openDevice_ : std::string();
}

void TComPortF::ShowLinkLamp() {
    Q_EMIT LinkLampChanged(search_->ShowLinkLamp());
}

void TComPortF::ComPortRxChar() {
    // The port does not signal again for bytes it already holds, so read until it is empty, at
    // most one buffer per receive event. Each read takes bytes out, so the loop ends.
    while (ComPort.isOpen() && ComPort.bytesAvailable() > 0) {
        const qint64 n = ComPort.read(reinterpret_cast<char*>(readBuffer_.data()),
                                      static_cast<qint64>(readBuffer_.size()));
        if (n <= 0) {
            break;
        }
        scanner_.ComPortRxChar(
            std::span<const std::uint8_t>(readBuffer_).first(static_cast<std::size_t>(n)));
    }
}

void TComPortF::ComPortError(QSerialPort::SerialPortError error) {
    // A device that went away keeps reporting read errors without end while the port stays
    // open. The port is closed from the event loop, not inside the port's own notification.
    if ((error != QSerialPort::ReadError && error != QSerialPort::ResourceError) || closePending_) {
        return;
    }
    closePending_ = true;
    // A port the search opened in the meantime is not the one that failed: it stays open.
    const std::uint64_t failedOpen = openCount_;
    QMetaObject::invokeMethod(
        this,
        [this, failedOpen] {
            closePending_ = false;
            if (openCount_ == failedOpen) {
                ClosePort();
            }
        },
        Qt::QueuedConnection);
}

void TComPortF::Timer1Timer() {
    if (const std::optional<int> lamp = search_->Timer1Timer()) {
        Q_EMIT LinkLampChanged(*lamp);
    }
}

void TComPortF::ReadPortList(std::vector<std::string>& list) {
    ReadSerialPortList(list);
}

bool TComPortF::ProbePort(const std::string& port) {
    return ProbeSerialDevice(port);
}

void TComPortF::ClosePort() {
    if (ComPort.isOpen()) {
        ComPort.close();
    }
    ComPort.clearError();
}

void TComPortF::SetPortName(const std::string& port) {
    portName_ = port;
}

bool TComPortF::OpenPort() {
    ClosePort();
    const std::string device = SerialDevicePath(portName_);
    ComPort.setPortName(DevicePathText(device));
    if (!ComPort.open(QIODevice::ReadOnly)) {
        ComPort.clearError();
        return false;
    }
    // Lines inactive at once: the charger's adapter needs neither. A pseudo-terminal has no
    // modem lines; the error it reports for them is of no concern.
    ComPort.setDataTerminalReady(false);
    ComPort.setRequestToSend(false);
#ifdef Q_OS_UNIX
    // Held like the probe checks it, so another program probing the same way skips this port.
    if (::flock(static_cast<int>(ComPort.handle()), LOCK_EX | LOCK_NB) != 0) {
        ComPort.close();
        ComPort.clearError();
        return false;
    }
#endif
    ComPort.clearError();
    openDevice_ = device;
    ++openCount_;
    return true;
}

}  // namespace volt
