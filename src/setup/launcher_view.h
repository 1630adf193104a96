#pragma once
// The launcher window as its logic drives it: the window's place and size, the banner, the
// caption colours, the message box and closing.

#include <cstdint>
#include <string_view>

#include "setup/setup_layout.h"

namespace volt::setup {

struct Rgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kCaptionRest{255, 255, 0};   // yellow
inline constexpr Rgb kCaptionHover{0, 255, 0};    // green, pointer over the caption
inline constexpr Rgb kCaptionPressed{0, 0, 255};  // blue, mouse button held on the caption

// The three captions of the menu panel ml.
enum class MenuCaption { InstallVoltaris /* a2 */, InstallDriver /* a3 */, Exit /* a4 */ };
inline constexpr int kMenuCaptionCount = 3;

class LauncherView {
  public:
    virtual ~LauncherView() = default;

    virtual void MoveWindow(Point topLeft) = 0;
    virtual void ResizeWindow(Size size) = 0;
    // The size the window has now, which a window system may have adjusted.
    [[nodiscard]] virtual Size WindowSize() const = 0;
    [[nodiscard]] virtual Size ScreenSize() const = 0;

    virtual void PlaceBanner(Point topLeft) = 0;
    virtual void PlacePicture(Point topLeft) = 0;
    virtual void PlaceMenu(Point topLeft) = 0;
    virtual void ShowBanner() = 0;

    virtual void SetCaptionColour(MenuCaption caption, Rgb colour) = 0;
    // A modal message box; returns when the user has dismissed it.
    virtual void ShowMessage(std::string_view text) = 0;
    virtual void CloseWindow() = 0;
};

}  // namespace volt::setup
