#pragma once
// A window's title published on a local socket, so that a newer program can find the window by
// its title and ask it to close (QtLauncherPlatform::CloseWindowByTitle). The request is the
// line "close"; the window closes, then the server hangs up, which tells the asker it is done.

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

namespace volt::setup {

inline constexpr char kCloseRequest[] = "close\n";
inline constexpr qsizetype kMaxRequestBytes = 64;  // anything longer is not ours
inline constexpr int kConnectTimeoutMs = 1000;     // to reach an older window's socket
inline constexpr int kCloseTimeoutMs = 5000;       // for it to close and hang up

// The socket name for a title, for the current user.
[[nodiscard]] QString WindowServerNameFor(const QString& title);

class WindowTitleServer final : public QObject {
  public:
    explicit WindowTitleServer(QObject* parent = nullptr);
    ~WindowTitleServer() override;
    WindowTitleServer(const WindowTitleServer&) = delete;
    WindowTitleServer& operator=(const WindowTitleServer&) = delete;

    // Starts answering for `title`; `closeWindow` runs when a close request arrives.
    bool Publish(const QString& title, std::function<void()> closeWindow);

  private:
    void OnNewConnection();

    QLocalServer server_;
    std::function<void()> closeWindow_;
};

}  // namespace volt::setup
