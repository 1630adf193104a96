#pragma once
// The install launcher's logic. The window forwards its events here (creation, show, resize,
// the one-second tick, the caption clicks and mouse events, the close request); the launcher
// answers through the window (LauncherView) and the operating system (LauncherPlatform).
//
// The handshake: "Install VOLTARIS" deletes the current user's value "BIS" under the key
// "WINDOWSCBA", moves the window off the screen and starts the product installer; the
// installer writes "BIS" when it has finished, and the next tick brings the window back.
// "Install USB Driver" starts the driver installer and makes "Exit" ask for a restart of the
// PC and close the launcher 5 ticks later. The launcher closes itself 600 ticks after creation.

#include <array>
#include <cstdint>
#include <string_view>

#include "setup/launcher_platform.h"
#include "setup/launcher_view.h"

namespace volt::setup {

inline constexpr std::string_view kWindowTitle = "Voltaris Install";
inline constexpr std::string_view kHandshakeKey = "WINDOWSCBA";
inline constexpr std::string_view kHandshakeValue = "BIS";
inline constexpr std::string_view kProductInstaller = "/Setup/setup2.exe";
inline constexpr std::string_view kProductInstallerHere = "setup2.exe";
inline constexpr std::string_view kDriverInstaller = "/Setup/install.exe";
inline constexpr std::string_view kDriverInstallerHere = "install.exe";
inline constexpr std::string_view kProductMissingMessage =
    "Setup Error - File not found [setup2.exe]";
inline constexpr std::string_view kDriverMissingMessage =
    "Setup Error - File not found [install.exe]";
inline constexpr std::string_view kRestartBannerText =
    "You have to restart your PC after exit setup program";

inline constexpr int kTimerIntervalMs = 1000;
inline constexpr std::int32_t kLifetimeTicks = 600;  // 10 minutes of ticks
inline constexpr std::int32_t kRestartTicks = 5;     // after the restart banner appears
inline constexpr Point kCreatedAt{-1000, -1000};     // off the screen until shown
inline constexpr Point kInstallingAt{-5000, -5000};  // off the screen while installing
inline constexpr Point kOnScreen{0, 0};

class SetupLauncher {
  public:
    SetupLauncher(LauncherView& view, LauncherPlatform& platform) noexcept;

    void FormCreate();
    void FormShow();
    void FormResize();
    void Timer1Timer();

    void a2Click();
    void a3Click();
    void a4Click();

    void a4MouseDown(MenuCaption caption);
    void a4MouseUp(MenuCaption caption);
    void a2MouseEnter(MenuCaption caption);
    void a2MouseLeave(MenuCaption caption);

    [[nodiscard]] static bool FormCloseQuery() noexcept { return true; }

    [[nodiscard]] std::int32_t LifetimeCountdown() const noexcept { return lifetimeCountdown_; }
    [[nodiscard]] std::int32_t RestartCountdown() const noexcept { return restartCountdown_; }
    [[nodiscard]] bool DriverRequested() const noexcept { return driverRequested_ != 0; }
    [[nodiscard]] bool BannerVisible() const noexcept { return bannerVisible_; }
    [[nodiscard]] Rgb CaptionColour(MenuCaption caption) const noexcept;

  private:
    void PlaceElements(const SetupLayout& layout);
    void SetColour(MenuCaption caption, Rgb colour);

    LauncherView& view_;
    LauncherPlatform& platform_;
    std::int32_t lifetimeCountdown_ = kLifetimeTicks;
    std::int32_t restartCountdown_ = 0;
    int driverRequested_ = 0;
    bool bannerVisible_ = false;
    bool shown_ = false;
    Size laidOutFor_{};  // the window size of the last layout
    std::array<Rgb, kMenuCaptionCount> captionColours_{kCaptionRest, kCaptionRest, kCaptionRest};
};

}  // namespace volt::setup
