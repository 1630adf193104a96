#pragma once
// The charger reports twelve cell voltages per channel; frames, channel states and samples all
// carry them in this count.

#include <cstddef>

namespace volt {

inline constexpr std::size_t kCellCount = 12;

}  // namespace volt
