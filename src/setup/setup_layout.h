#pragma once
// Where the launcher's picture, restart banner and menu sit in a window of a given size.

namespace volt::setup {

struct Point {
    int X = 0;
    int Y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

inline constexpr Size kDesignClientSize{993, 654};  // pixels, before the window is shown
inline constexpr Size kPictureSize{400, 183};       // pixels, the picture il
inline constexpr Size kBannerSize{797, 121};        // pixels, the restart banner bl
inline constexpr Size kMenuSize{305, 177};          // pixels, the menu panel ml

struct SetupLayout {
    Point Banner;
    Point Picture;
    Point Menu;
};

// Top-left corner that centres an element of size `element` in a window of size `window`.
[[nodiscard]] Point CentredIn(Size window, Size element) noexcept;

// Top-left corner that centres an element in the lower half of the window.
[[nodiscard]] Point BelowMiddle(Size window, Size element) noexcept;

// Layout on every resize: the menu is placed with its own size.
[[nodiscard]] SetupLayout ResizeLayout(Size window) noexcept;

// Layout when the window is first shown: the menu is placed with the picture's size, so its
// left edge lines up with the picture's and its top lies just below the picture.
[[nodiscard]] SetupLayout ShowLayout(Size window) noexcept;

}  // namespace volt::setup
