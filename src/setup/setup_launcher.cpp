#include "setup/setup_launcher.h"

#include <cstddef>
#include <optional>

namespace volt::setup {
namespace {

// The first of the two places that holds the file: the Setup folder at the root, then the
// current folder.
[[nodiscard]] std::optional<std::string_view> FindInstaller(LauncherPlatform& platform,
                                                            std::string_view atRoot,
                                                            std::string_view here) {
    if (platform.FileExists(atRoot))
        return atRoot;
    if (platform.FileExists(here))
        return here;
    return std::nullopt;
}

[[nodiscard]] std::size_t Index(MenuCaption caption) noexcept {
    return static_cast<std::size_t>(caption);
}

}  // namespace

SetupLauncher::SetupLauncher(LauncherView& view, LauncherPlatform& platform) noexcept
    : view_(view), platform_(platform) {}

void SetupLauncher::FormCreate() {
    // An older launcher that is still open bears the same title.
    platform_.CloseWindowByTitle(kWindowTitle, true);
    restartCountdown_ = 0;
    lifetimeCountdown_ = kLifetimeTicks;
    view_.MoveWindow(kCreatedAt);
}

void SetupLauncher::FormShow() {
    if (shown_)
        return;
    shown_ = true;
    view_.MoveWindow(kOnScreen);
    view_.ResizeWindow(view_.ScreenSize());
    // The new size lays the window out once with the menu's own size (the window system may
    // already have reported it); the show then places the menu under the picture.
    FormResize();
    PlaceElements(ShowLayout(view_.WindowSize()));
}

void SetupLauncher::FormResize() {
    const Size size = view_.WindowSize();
    if (size == laidOutFor_)
        return;
    laidOutFor_ = size;
    PlaceElements(ResizeLayout(size));
}

void SetupLauncher::PlaceElements(const SetupLayout& layout) {
    view_.PlaceBanner(layout.Banner);
    view_.PlacePicture(layout.Picture);
    view_.PlaceMenu(layout.Menu);
}

void SetupLauncher::Timer1Timer() {
    // The value's content does not matter, only that the installer has left it.
    if (platform_.ReadRegString(RegistryRoot::CurrentUser, kHandshakeKey, kHandshakeValue)) {
        view_.MoveWindow(kOnScreen);
    }
    if (restartCountdown_ > 0) {
        --restartCountdown_;
        if (restartCountdown_ == 0)
            view_.CloseWindow();
    }
    if (lifetimeCountdown_ > 0) {
        --lifetimeCountdown_;
        if (lifetimeCountdown_ == 0)
            view_.CloseWindow();
    }
}

void SetupLauncher::a2Click() {
    const auto installer = FindInstaller(platform_, kProductInstaller, kProductInstallerHere);
    if (!installer) {
        view_.ShowMessage(kProductMissingMessage);
        return;
    }
    view_.MoveWindow(kInstallingAt);
    platform_.DeleteRegValue(RegistryRoot::CurrentUser, kHandshakeKey, kHandshakeValue);
    platform_.LaunchProgram(*installer);
}

void SetupLauncher::a3Click() {
    // A restart is asked for even when the driver installer is missing.
    driverRequested_ = 1;
    const auto installer = FindInstaller(platform_, kDriverInstaller, kDriverInstallerHere);
    if (!installer) {
        view_.ShowMessage(kDriverMissingMessage);
        return;
    }
    platform_.LaunchProgram(*installer);
}

void SetupLauncher::a4Click() {
    if (bannerVisible_)
        return;
    if (driverRequested_ == 1) {
        view_.PlaceBanner(CentredIn(view_.WindowSize(), kBannerSize));
        view_.ShowBanner();
        bannerVisible_ = true;
        restartCountdown_ = kRestartTicks;
        return;
    }
    view_.CloseWindow();
}

void SetupLauncher::a4MouseDown(MenuCaption caption) {
    SetColour(caption, kCaptionPressed);
}
void SetupLauncher::a4MouseUp(MenuCaption caption) {
    SetColour(caption, kCaptionRest);
}
void SetupLauncher::a2MouseEnter(MenuCaption caption) {
    SetColour(caption, kCaptionHover);
}
void SetupLauncher::a2MouseLeave(MenuCaption caption) {
    SetColour(caption, kCaptionRest);
}

Rgb SetupLauncher::CaptionColour(MenuCaption caption) const noexcept {
    return captionColours_[Index(caption)];
}

void SetupLauncher::SetColour(MenuCaption caption, Rgb colour) {
    captionColours_[Index(caption)] = colour;
    view_.SetCaptionColour(caption, colour);
}

}  // namespace volt::setup
