#include "setup/setup_layout.h"

namespace volt::setup {

// Integer halves truncate toward zero, also for a window smaller than the element.
Point CentredIn(Size window, Size element) noexcept {
    return {(window.Width - element.Width) / 2, (window.Height - element.Height) / 2};
}

Point BelowMiddle(Size window, Size element) noexcept {
    const int half = window.Height / 2;
    return {(window.Width - element.Width) / 2, half + (half - element.Height) / 2};
}

SetupLayout ResizeLayout(Size window) noexcept {
    return {CentredIn(window, kBannerSize), CentredIn(window, kPictureSize),
            BelowMiddle(window, kMenuSize)};
}

SetupLayout ShowLayout(Size window) noexcept {
    return {CentredIn(window, kBannerSize), CentredIn(window, kPictureSize),
            BelowMiddle(window, kPictureSize)};
}

}  // namespace volt::setup
