// The launcher window offscreen on a 1024 x 768 screen, with the real Qt operations: the INI
// registry, the file lookup in the current folder and a detached installer stand-in.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

#include "setup/caption_label.h"
#include "setup/qt_launcher_platform.h"
#include "setup/setup_window.h"

using volt::setup::MenuCaption;
using volt::setup::QtLauncherPlatform;
using volt::setup::RegistryRoot;
using volt::setup::TSetupF;

namespace {

const QColor kYellow{255, 255, 0};
const QColor kGreen{0, 255, 0};
const QColor kBlue{0, 0, 255};

void WriteText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

[[nodiscard]] QColor TextColour(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText);
}

// Answers the next modal message box with OK and keeps its text.
class MessageCatcher {
  public:
    MessageCatcher() {
        QTimer::singleShot(0, [this] { Poll(); });
    }
    [[nodiscard]] const QString& Text() const noexcept { return text_; }

  private:
    void Poll() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text_ = box->text();
            box->accept();
            return;
        }
        if (++polls_ < 200)
            QTimer::singleShot(10, [this] { Poll(); });
    }
    QString text_;
    int polls_ = 0;
};

}  // namespace

class SetupWindowTest : public QObject {
    Q_OBJECT
  public:
    explicit SetupWindowTest(QString root) : root_(std::move(root)) {}

  private Q_SLOTS:
    void init() {
        cwd_ = std::make_unique<QTemporaryDir>(root_ + QStringLiteral("/cwd-XXXXXX"));
        QVERIFY(QDir::setCurrent(cwd_->path()));
        QFile::remove(QtLauncherPlatform::DefaultRegistryFile());
    }
    void cleanup() {
        QDir::setCurrent(root_);
        cwd_.reset();
    }

    void showsTheMenuFullScreenOnNavy() {
        QtLauncherPlatform platform(QtLauncherPlatform::DefaultRegistryFile());
        TSetupF window(platform);
        QCOMPARE(window.pos(), QPoint(-1000, -1000));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QCOMPARE(window.windowTitle(), QStringLiteral("Voltaris Install"));
        QCOMPARE(window.geometry(), QRect(0, 0, 1024, 768));
        QCOMPARE(window.Picture()->geometry(), QRect(312, 292, 400, 183));
        QCOMPARE(window.Picture()->pixmap().size(), QSize(400, 183));
        QCOMPARE(window.Menu()->geometry(), QRect(312, 484, 305, 177));
        QCOMPARE(window.Banner()->geometry(), QRect(113, 323, 797, 121));
        QVERIFY(window.Banner()->isHidden());

        const QImage shot = window.grab().toImage();
        QCOMPARE(shot.pixelColor(5, 5), QColor(0, 0, 128));
        QCOMPARE(shot.pixelColor(312 + 200, 484 + 170), QColor(0, 0, 128));

        const struct {
            MenuCaption caption;
            const char* text;
            QRect geometry;
        } captions[] = {
            {MenuCaption::InstallVoltaris, "Install VOLTARIS", {12, 12, 285, 37}},
            {MenuCaption::InstallDriver, "Install USB Driver", {12, 64, 285, 37}},
            {MenuCaption::Exit, "Exit", {12, 116, 285, 37}},
        };
        for (const auto& c : captions) {
            const volt::setup::CaptionLabel* label = window.Caption(c.caption);
            QCOMPARE(label->text(), QString::fromLatin1(c.text));
            QCOMPARE(label->geometry(), c.geometry);
            QCOMPARE(TextColour(label), kYellow);
            QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(label->font().pixelSize(), 32);
            QVERIFY(label->font().bold());
            // The caption's text must not be cut off by its fixed width.
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= 285, c.text);
        }
    }

    void missingProductInstallerIsReportedAndTheCaptionEndsYellow() {
        WriteText(QtLauncherPlatform::DefaultRegistryFile(), "[WINDOWSCBA]\nBIS=earlier\n");
        QtLauncherPlatform platform(QtLauncherPlatform::DefaultRegistryFile());
        TSetupF window(platform);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* caption = window.Caption(MenuCaption::InstallVoltaris);

        QTest::mouseMove(caption, QPoint(20, 18));
        QTRY_COMPARE(TextColour(caption), kGreen);
        QTest::mousePress(caption, Qt::LeftButton, {}, QPoint(20, 18));
        QCOMPARE(TextColour(caption), kBlue);
        MessageCatcher message;
        QTest::mouseRelease(caption, Qt::LeftButton, {}, QPoint(20, 18));
        QCOMPARE(message.Text(), QStringLiteral("Setup Error - File not found [setup2.exe]"));
        QCOMPARE(TextColour(caption), kYellow);

        QCOMPARE(window.pos(), QPoint(0, 0));
        QCOMPARE(platform.ReadRegString(RegistryRoot::CurrentUser, "WINDOWSCBA", "BIS"),
                 std::optional<std::string>("earlier"));
    }

    void missingDriverInstallerStillEndsWithTheRestartBanner() {
        QtLauncherPlatform platform(QtLauncherPlatform::DefaultRegistryFile());
        TSetupF window(platform);
        QSignalSpy closed(&window, &TSetupF::Closed);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        MessageCatcher message;
        QTest::mouseClick(window.Caption(MenuCaption::InstallDriver), Qt::LeftButton);
        QCOMPARE(message.Text(), QStringLiteral("Setup Error - File not found [install.exe]"));

        QTest::mouseClick(window.Caption(MenuCaption::Exit), Qt::LeftButton);
        QVERIFY(window.Banner()->isVisible());
        QCOMPARE(window.Banner()->text(),
                 QStringLiteral("You have to restart your PC after exit setup program"));
        QCOMPARE(window.Banner()->pos(), QPoint(113, 323));
        QCOMPARE(TextColour(window.Banner()), QColor(255, 255, 255));
        QTest::mouseClick(window.Caption(MenuCaption::Exit), Qt::LeftButton);
        for (int tick = 0; tick < 4; ++tick)
            window.Launcher().Timer1Timer();
        QVERIFY(window.isVisible());
        QCOMPARE(closed.count(), 0);
        window.Launcher().Timer1Timer();
        QVERIFY(!window.isVisible());
        QCOMPARE(closed.count(), 1);
    }

    void productInstallerStandInBringsTheWindowBack() {
        const QString registry = QtLauncherPlatform::DefaultRegistryFile();
        WriteText(registry, "[WINDOWSCBA]\nBIS=earlier\nOther=kept\n");
        const QString standIn = QDir::current().filePath(QStringLiteral("setup2.exe"));
        QVERIFY(QFile::copy(qEnvironmentVariable("VOLT_SOURCE_DIR") +
                                QStringLiteral("/tests/setup/product_installer_standin.sh"),
                            standIn));
        QVERIFY(QFile::setPermissions(standIn, QFile::ReadOwner | QFile::ExeOwner));
        if (QFileInfo::exists(QStringLiteral("/Setup/setup2.exe"))) {
            QSKIP("this machine has a real /Setup/setup2.exe, which would be started");
        }
        QtLauncherPlatform platform(registry);
        TSetupF window(platform);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTest::mouseClick(window.Caption(MenuCaption::InstallVoltaris), Qt::LeftButton);
        QCOMPARE(window.pos(), QPoint(-5000, -5000));
        QCOMPARE(platform.ReadRegString(RegistryRoot::CurrentUser, "WINDOWSCBA", "BIS"),
                 std::nullopt);
        QCOMPARE(platform.ReadRegString(RegistryRoot::CurrentUser, "WINDOWSCBA", "Other"),
                 std::optional<std::string>("kept"));

        // The stand-in writes after 2 s; the window's own one-second timer brings it back.
        QTRY_COMPARE_WITH_TIMEOUT(window.pos(), QPoint(0, 0), 10000);
        QCOMPARE(platform.ReadRegString(RegistryRoot::CurrentUser, "WINDOWSCBA", "BIS"),
                 std::optional<std::string>("installed"));
    }

    void registryCountsOnlyPlainTextValues() {
        const QString registry = root_ + QStringLiteral("/values/Registry.ini");
        QtLauncherPlatform platform(registry);
        const struct {
            const char* file;
            std::optional<std::string> bis;
        } cases[] = {
            {"[WINDOWSCBA]\nBIS=done\n", "done"},
            {"[WINDOWSCBA]\nBIS=\n", ""},
            {"[WINDOWSCBA]\nBIS=\"a, b\"\n", "a, b"},
            {"[WINDOWSCBA]\nBIS=a, b\n", std::nullopt},
            {"[WINDOWSCBA]\nBIS=@ByteArray(done)\n", std::nullopt},
            {"[WINDOWSCBA]\nBIS=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\n", std::nullopt},
            {"[OTHER]\nBIS=done\n", std::nullopt},
            {"[WINDOWSCBA]\nbis=done\n", std::nullopt},
        };
        for (const auto& c : cases) {
            WriteText(registry, c.file);
            QCOMPARE(platform.ReadRegString(RegistryRoot::CurrentUser, "WINDOWSCBA", "BIS"), c.bis);
        }
        QVERIFY(QFile::remove(registry));
        QCOMPARE(platform.ReadRegString(RegistryRoot::CurrentUser, "WINDOWSCBA", "BIS"),
                 std::nullopt);
        QVERIFY(platform.DeleteRegValue(RegistryRoot::CurrentUser, "WINDOWSCBA", "BIS"));

        // A store that cannot be opened: its folder is a file.
        WriteText(root_ + QStringLiteral("/blocked"), "not a folder");
        QtLauncherPlatform blocked(root_ + QStringLiteral("/blocked/Registry.ini"));
        QCOMPARE(blocked.ReadRegString(RegistryRoot::CurrentUser, "WINDOWSCBA", "BIS"),
                 std::nullopt);
        QVERIFY(!blocked.DeleteRegValue(RegistryRoot::CurrentUser, "WINDOWSCBA", "BIS"));
    }

  private:
    QString root_;
    std::unique_ptr<QTemporaryDir> cwd_;
};

// Each run gets its own folders: the registry (XDG_CONFIG_HOME), the sockets by which a
// launcher finds an older one (TMPDIR), and a 1024 x 768 offscreen screen.
int main(int argc, char* argv[]) {
    QTemporaryDir root;
    if (!root.isValid())
        return 2;
    const QString path = root.path();
    QDir().mkpath(path + QStringLiteral("/tmp"));
    QDir().mkpath(path + QStringLiteral("/run"));
    QFile::setPermissions(path + QStringLiteral("/run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("TMPDIR", (path + QStringLiteral("/tmp")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (path + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (path + QStringLiteral("/run")).toLocal8Bit());
    const QString screen = path + QStringLiteral("/screen.json");
    {
        QFile file(screen);
        if (!file.open(QIODevice::WriteOnly))
            return 2;
        file.write(R"({"windowFrameMargins": false, "screens": [{"name": "Screen1024",)"
                   R"( "x": 0, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96,)"
                   R"( "logicalBaseDpi": 96, "dpr": 1}]})");
    }
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screen).toLocal8Bit());
    QApplication app(argc, argv);
    SetupWindowTest test(path);
    return QTest::qExec(&test, argc, argv);
}

#include "setup_window_test.moc"
