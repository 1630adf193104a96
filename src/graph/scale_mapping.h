#pragma once
// Every series of a graph window is drawn on one fixed vertical axis from 0 (bottom) to 1000
// (top); each quantity keeps its own range and the chart only ever sees axis values.

namespace volt {

inline constexpr double kAxisTop = 1000.0;

// Not clipped: a value above max maps above 1000, one below min below 0. Equal bounds use the
// factor 1, so the result is value - min.
[[nodiscard]] double ScaleToAxis(double value, double min, double max) noexcept;
[[nodiscard]] double AxisToValue(double axis, double min, double max) noexcept;

}  // namespace volt
