#include "graph/scale_mapping.h"

namespace volt {

double ScaleToAxis(double value, double min, double max) noexcept {
    if (max == min) {
        return value - min;
    }
    return (value - min) * kAxisTop / (max - min);
}

double AxisToValue(double axis, double min, double max) noexcept {
    return min + axis * (max - min) / kAxisTop;
}

}  // namespace volt
