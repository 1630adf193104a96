#pragma once
// A launcher window and an operating system in memory: the fake window records where things
// are, the fake system holds the installer files and the current user's registry.

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "setup/launcher_platform.h"
#include "setup/launcher_view.h"
#include "setup/setup_launcher.h"

namespace volt::setup::test {

class FakeView final : public LauncherView {
  public:
    explicit FakeView(Size screen) : screen_(screen) {}

    // Some window systems report the new size while the resize is still being made.
    void ReportResizeAt(SetupLauncher* launcher) noexcept { resizeReceiver_ = launcher; }

    void MoveWindow(Point topLeft) override {
        position = topLeft;
        ++moves;
    }
    void ResizeWindow(Size newSize) override {
        size = newSize;
        if (resizeReceiver_ != nullptr)
            resizeReceiver_->FormResize();
    }
    [[nodiscard]] Size WindowSize() const override { return size; }
    [[nodiscard]] Size ScreenSize() const override { return screen_; }
    void PlaceBanner(Point topLeft) override { banner = topLeft; }
    void PlacePicture(Point topLeft) override { picture = topLeft; }
    void PlaceMenu(Point topLeft) override { menu = topLeft; }
    void ShowBanner() override { bannerShown = true; }
    void SetCaptionColour(MenuCaption caption, Rgb colour) override {
        colours[static_cast<std::size_t>(caption)] = colour;
    }
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void CloseWindow() override { ++closes; }

    Point position{};
    Size size = kDesignClientSize;
    Point banner{};
    Point picture{};
    Point menu{};
    bool bannerShown = false;
    std::array<Rgb, kMenuCaptionCount> colours{kCaptionRest, kCaptionRest, kCaptionRest};
    std::vector<std::string> messages;
    int moves = 0;
    int closes = 0;

  private:
    Size screen_;
    SetupLauncher* resizeReceiver_ = nullptr;
};

class FakePlatform final : public LauncherPlatform {
  public:
    bool CloseWindowByTitle(std::string_view title, bool sendClose) override {
        closeRequests.emplace_back(title, sendClose);
        return false;
    }
    [[nodiscard]] std::optional<std::string> ReadRegString(RegistryRoot /*root*/,
                                                           std::string_view key,
                                                           std::string_view value) override {
        if (!keyOpens)
            return std::nullopt;
        const auto found = registry.find(Path(key, value));
        if (found == registry.end())
            return std::nullopt;
        return found->second;
    }
    bool DeleteRegValue(RegistryRoot /*root*/, std::string_view key,
                        std::string_view value) override {
        ++deletes;
        if (!keyOpens)
            return false;
        registry.erase(Path(key, value));
        return true;
    }
    void LaunchProgram(std::string_view commandLine) override {
        launched.emplace_back(commandLine);
    }
    [[nodiscard]] bool FileExists(std::string_view path) override {
        return files.contains(std::string(path));
    }

    // What the product installer does when it has finished.
    void WriteHandshake() { registry[Path(kHandshakeKey, kHandshakeValue)] = "1"; }
    [[nodiscard]] bool HasHandshake() const {
        return registry.contains(Path(kHandshakeKey, kHandshakeValue));
    }

    std::set<std::string> files;
    std::map<std::string, std::string> registry;  // "key\value" -> text
    bool keyOpens = true;
    std::vector<std::pair<std::string, bool>> closeRequests;
    std::vector<std::string> launched;
    int deletes = 0;

  private:
    [[nodiscard]] static std::string Path(std::string_view key, std::string_view value) {
        return std::string(key) + '\\' + std::string(value);
    }
};

}  // namespace volt::setup::test
