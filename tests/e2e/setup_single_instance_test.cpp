// Two real Setup processes: a newer launcher closes the older one, which bears the same title,
// and takes over the name by which windows find it, also from a launcher that died.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QThread>
#include <filesystem>
#include <memory>

#include "setup/window_server_name.h"
#include "support/temp_dir.h"

namespace {

constexpr int kStartMs = 10000;  // for a launcher to come up offscreen
constexpr int kPollMs = 20;

class SetupSingleInstanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* folder : {"tmp", "config", "run", "cwd"}) {
            std::filesystem::create_directories(dir_.File(folder));
        }
        std::filesystem::permissions(dir_.File("run"), std::filesystem::perms::owner_all);
        socketPath_ = Path("tmp") + QLatin1Char('/') +
                      QString::fromStdString(volt::setup::WindowServerName(
                          "Voltaris Install", static_cast<std::uint32_t>(::getuid())));
    }

    [[nodiscard]] QString Path(const char* folder) const {
        return QString::fromStdString(dir_.File(folder).string());
    }

    [[nodiscard]] std::unique_ptr<QProcess> StartLauncher() const {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TMPDIR"), Path("tmp"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), Path("config"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Path("run"));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(Path("cwd"));
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(qEnvironmentVariable("VOLT_BIN_DIR") + QStringLiteral("/Setup"), {});
        EXPECT_TRUE(process->waitForStarted(kStartMs)) << process->errorString().toStdString();
        return process;
    }

    // True once a launcher answers on the title's socket.
    [[nodiscard]] bool WaitForAnswer() const {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < kStartMs) {
            QLocalSocket socket;
            socket.connectToServer(socketPath_);
            if (socket.waitForConnected(kPollMs))
                return true;
            QThread::msleep(kPollMs);
        }
        return false;
    }

    // What a newer launcher does, from the test: ask the window to close.
    void SendClose() const {
        QLocalSocket socket;
        socket.connectToServer(socketPath_);
        ASSERT_TRUE(socket.waitForConnected(kStartMs));
        socket.write("close\n");
        ASSERT_TRUE(socket.waitForBytesWritten(kStartMs));
        if (socket.state() == QLocalSocket::ConnectedState) {
            EXPECT_TRUE(socket.waitForDisconnected(kStartMs));
        }
    }

    static void ExpectCleanExit(QProcess& process) {
        ASSERT_TRUE(process.waitForFinished(kStartMs));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }

    int argc_ = 1;
    char name_[8] = "e2e";
    char* argv_[1] = {name_};
    QCoreApplication app_{argc_, argv_};
    volt::test::TempDir dir_;
    QString socketPath_;
};

TEST_F(SetupSingleInstanceTest, SecondLauncherClosesTheFirstAndTakesOver) {
    const auto first = StartLauncher();
    ASSERT_TRUE(WaitForAnswer());

    const auto second = StartLauncher();
    ExpectCleanExit(*first);
    EXPECT_FALSE(second->waitForFinished(500));
    ASSERT_TRUE(WaitForAnswer());  // the second now bears the title

    SendClose();
    ExpectCleanExit(*second);
    EXPECT_FALSE(QFileInfo::exists(socketPath_));  // a closed launcher leaves no socket behind
}

TEST_F(SetupSingleInstanceTest, LauncherStartsOverTheSocketOfOneThatDied) {
    const auto crashed = StartLauncher();
    ASSERT_TRUE(WaitForAnswer());
    crashed->kill();
    ASSERT_TRUE(crashed->waitForFinished(kStartMs));
    ASSERT_TRUE(QFileInfo::exists(socketPath_));  // left behind by the killed launcher

    const auto next = StartLauncher();
    ASSERT_TRUE(WaitForAnswer());
    EXPECT_EQ(next->state(), QProcess::Running);
    SendClose();
    ExpectCleanExit(*next);
}

}  // namespace
