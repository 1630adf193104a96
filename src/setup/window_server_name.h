#pragma once
// The name of the local socket by which a launcher window can be found by its title, one per
// user. A title becomes letters, digits and '_'; a title that had to be cut (the socket path has
// a short limit) or had other characters replaced also carries a hash of the whole title.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace volt::setup {

inline constexpr std::size_t kMaxTitleInName = 48;  // characters of the title kept in the name

[[nodiscard]] std::string WindowServerName(std::string_view title, std::uint32_t userId);

}  // namespace volt::setup
