#pragma once
// The launcher's operating-system operations with Qt. The current user's registry is a
// QSettings INI file (group = key, entry = value); an older launcher is found through the local
// socket its window publishes (window_title_server.h); installers start detached.

#include <QString>

#include "setup/launcher_platform.h"

namespace volt::setup {

class QtLauncherPlatform final : public LauncherPlatform {
  public:
    explicit QtLauncherPlatform(QString registryFile);

    // ~/.config/Voltaris/Registry.ini (or under $XDG_CONFIG_HOME).
    [[nodiscard]] static QString DefaultRegistryFile();

    bool CloseWindowByTitle(std::string_view title, bool sendClose) override;
    [[nodiscard]] std::optional<std::string> ReadRegString(RegistryRoot root, std::string_view key,
                                                           std::string_view value) override;
    bool DeleteRegValue(RegistryRoot root, std::string_view key, std::string_view value) override;
    void LaunchProgram(std::string_view commandLine) override;
    [[nodiscard]] bool FileExists(std::string_view path) override;

  private:
    QString registryFile_;
};

}  // namespace volt::setup
