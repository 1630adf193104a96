#include "setup/window_title_server.h"

#include <unistd.h>

#include <QLocalSocket>
#include <utility>

#include "setup/window_server_name.h"

namespace volt::setup {

QString WindowServerNameFor(const QString& title) {
    const QByteArray utf8 = title.toUtf8();
    return QString::fromStdString(
        WindowServerName({utf8.constData(), static_cast<std::size_t>(utf8.size())},
                         static_cast<std::uint32_t>(::getuid())));
}

WindowTitleServer::WindowTitleServer(QObject* parent) : QObject(parent) {
    // No socket options: with them Qt binds elsewhere and renames the socket over the name,
    // which would take the name from a window that is still open.
    connect(&server_, &QLocalServer::newConnection, this, &WindowTitleServer::OnNewConnection);
}

WindowTitleServer::~WindowTitleServer() {
    server_.close();
}

bool WindowTitleServer::Publish(const QString& title, std::function<void()> closeWindow) {
    closeWindow_ = std::move(closeWindow);
    const QString name = WindowServerNameFor(title);
    if (server_.listen(name))
        return true;
    // The name is taken: by a live window (then it stays its own), or by the socket file of a
    // program that died without closing it, which only a failed connect tells apart.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(kConnectTimeoutMs)) {
        probe.abort();
        return false;
    }
    QLocalServer::removeServer(name);
    return server_.listen(name);
}

void WindowTitleServer::OnNewConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequestBytes)
                    socket->abort();
                return;
            }
            const QByteArray line = socket->readLine(kMaxRequestBytes);
            if (line == kCloseRequest && closeWindow_) {
                closeWindow_();
                // Closed: nobody else is to find this window any more.
                server_.close();
            }
            socket->disconnectFromServer();
        });
    }
}

}  // namespace volt::setup
