#include "link/serial_ports.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QtGlobal>
#include <algorithm>

#include "link/port_list.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace volt {

QString DevicePathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

void ReadSerialPortList(std::vector<std::string>& list) {
    list.clear();
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::sort(ports.begin(), ports.end(), [](const QSerialPortInfo& a, const QSerialPortInfo& b) {
        return a.portName() < b.portName();
    });
    for (const QSerialPortInfo& port : ports) {
        list.push_back(QFile::encodeName(port.systemLocation()).toStdString());
    }
    const QByteArray extra = qgetenv(kExtraPortsVariable);
    AppendPortPaths(list,
                    std::string_view(extra.constData(), static_cast<std::size_t>(extra.size())));
}

std::string SerialDevicePath(const std::string& path) {
    const QString device = QFileInfo(DevicePathText(path)).canonicalFilePath();
    return device.isEmpty() ? path : QFile::encodeName(device).toStdString();
}

bool ProbeSerialDevice(const std::string& path) {
    const std::string device = SerialDevicePath(path);
    if (!QFileInfo::exists(DevicePathText(device))) {
        return false;
    }
#ifdef Q_OS_UNIX
    // A plain open first, kept while the serial port opens too, so the line sees one open and
    // one close. It tells what the serial port's own open would miss when run as root: a
    // terminal another program made exclusive, or an flock on the device.
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool free = true;
#ifdef TIOCGEXCL
    int exclusive = 0;
    if (::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0) {
        free = false;
    }
#endif
    if (free && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        free = false;
    }
#endif
    // The serial port's open takes the device's lock file and fails on one held elsewhere.
    QSerialPort port;
    port.setPortName(DevicePathText(device));
#ifdef Q_OS_UNIX
    if (free) {
        free = port.open(QIODevice::ReadWrite);
        port.close();
    }
    ::close(fd);
    return free;
#else
    const bool opened = port.open(QIODevice::ReadWrite);
    port.close();
    return opened;
#endif
}

}  // namespace volt
