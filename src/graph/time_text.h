#pragma once
// Elapsed seconds as the program shows them everywhere: "mm:ss", or "h:mm:ss" from one hour on.

#include <cstdint>
#include <string>

namespace volt {

// Hours are neither padded nor limited; a negative count is shown by its magnitude.
[[nodiscard]] std::string TimeText(std::int32_t seconds);

// The decimal text of n cut to its first `width` characters, then padded with leading zeros.
[[nodiscard]] std::string PadNumber(std::int64_t n, int width);

}  // namespace volt
