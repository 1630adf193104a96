#pragma once
// The monitor's own message-box texts, written as the program has always shown them.

#include <string_view>

namespace volt {

inline constexpr std::string_view kOutOfMemoryMessage = "Out of Memory";
inline constexpr std::string_view kFileErrorText = "File Error";

}  // namespace volt
