#pragma once
// What the launcher needs of the operating system: closing an older window by its title, the
// current user's registry value of the installer handshake, starting an installer, and looking
// for an installer file. The Qt build provides one implementation, the tests a fake.

#include <optional>
#include <string>
#include <string_view>

namespace volt::setup {

enum class RegistryRoot { CurrentUser };

class LauncherPlatform {
  public:
    virtual ~LauncherPlatform() = default;

    // Looks for a top-level window with exactly this title; when `sendClose` is set, asks it to
    // close and waits until it has. True when a window was found.
    virtual bool CloseWindowByTitle(std::string_view title, bool sendClose) = 0;

    // Opens the key (creating it when missing); the text of the value when it exists and is a
    // plain string, nothing otherwise (also when the key cannot be opened).
    [[nodiscard]] virtual std::optional<std::string> ReadRegString(RegistryRoot root,
                                                                   std::string_view key,
                                                                   std::string_view value) = 0;

    // Opens the key (creating it when missing) and deletes the value, whether it existed or
    // not; false only when the key cannot be opened.
    virtual bool DeleteRegValue(RegistryRoot root, std::string_view key,
                                std::string_view value) = 0;

    // Starts the command line without waiting for it; a failed start goes unnoticed.
    virtual void LaunchProgram(std::string_view commandLine) = 0;

    // True when a file exists at this path (a leading '/' is the root of the file system,
    // otherwise the path is relative to the current folder).
    [[nodiscard]] virtual bool FileExists(std::string_view path) = 0;
};

}  // namespace volt::setup
