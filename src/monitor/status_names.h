#pragma once
// Texts of the four channel states, indexed by Status.

#include <array>
#include <string_view>

namespace volt {

inline constexpr std::array<std::string_view, 4> StatusNames = {"IDLE", "Discharge", "Charge", ""};

}  // namespace volt
