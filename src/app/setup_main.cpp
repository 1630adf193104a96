// Setup: the install launcher. One window; closing it ends the program, also when a message
// box of the window is still open.

#include <QApplication>

#include "setup/qt_launcher_platform.h"
#include "setup/setup_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    volt::setup::QtLauncherPlatform platform(
        volt::setup::QtLauncherPlatform::DefaultRegistryFile());
    volt::setup::TSetupF window(platform);
    QObject::connect(&window, &volt::setup::TSetupF::Closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
}
