#include "setup/qt_launcher_platform.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <utility>

#include "setup/window_title_server.h"

namespace volt::setup {
namespace {

[[nodiscard]] QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

[[nodiscard]] QString EntryPath(std::string_view key, std::string_view value) {
    return ToQString(key) + QLatin1Char('/') + ToQString(value);
}

}  // namespace

QtLauncherPlatform::QtLauncherPlatform(QString registryFile)
    : registryFile_(std::move(registryFile)) {}

QString QtLauncherPlatform::DefaultRegistryFile() {
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Voltaris"),
                             QStringLiteral("Registry"));
    return settings.fileName();
}

bool QtLauncherPlatform::CloseWindowByTitle(std::string_view title, bool sendClose) {
    QLocalSocket socket;
    socket.connectToServer(WindowServerNameFor(ToQString(title)));
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    if (sendClose) {
        socket.write(kCloseRequest);
        socket.waitForBytesWritten(kConnectTimeoutMs);
        // The older window hangs up once it has closed.
        if (socket.state() == QLocalSocket::ConnectedState) {
            socket.waitForDisconnected(kCloseTimeoutMs);
        }
    }
    socket.abort();
    return true;
}

// A fresh QSettings per call re-reads the file, which the installer writes from outside.
std::optional<std::string> QtLauncherPlatform::ReadRegString(RegistryRoot /*root*/,
                                                             std::string_view key,
                                                             std::string_view value) {
    const QSettings settings(registryFile_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return std::nullopt;
    const QVariant entry = settings.value(EntryPath(key, value));
    // Only a plain text entry counts; lists and @Variant/@ByteArray entries do not.
    if (entry.typeId() != QMetaType::QString)
        return std::nullopt;
    return entry.toString().toStdString();
}

// An INI group exists as long as it has entries, so a missing key needs no creating; the store
// cannot be opened when its file cannot be written (isWritable also creates its folder).
bool QtLauncherPlatform::DeleteRegValue(RegistryRoot /*root*/, std::string_view key,
                                        std::string_view value) {
    QSettings settings(registryFile_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError || !settings.isWritable())
        return false;
    settings.remove(EntryPath(key, value));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

void QtLauncherPlatform::LaunchProgram(std::string_view commandLine) {
    const QString line = ToQString(commandLine);
    // A bare file name means the file in the current folder, not one on the PATH.
    const QFileInfo file(line);
    if (file.isFile()) {
        QProcess::startDetached(file.absoluteFilePath(), {}, QDir::currentPath());
        return;
    }
    QStringList words = QProcess::splitCommand(line);
    if (words.isEmpty())
        return;
    const QString program = words.takeFirst();
    QProcess::startDetached(program, words, QDir::currentPath());
}

bool QtLauncherPlatform::FileExists(std::string_view path) {
    return QFileInfo(ToQString(path)).isFile();
}

}  // namespace volt::setup
