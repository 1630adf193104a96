#pragma once
// The seven battery type names, indexed by BatteryType. Each is up to 64 Windows-1252 bytes,
// kept in place so a lookup never allocates.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace volt {

class BatteryTypeNames {
  public:
    static constexpr std::size_t kCount = 7;
    static constexpr std::size_t kMaxChars = 64;

    BatteryTypeNames() noexcept { SetDefaults(); }

    // "", "LiPo", "LiFe(A123)", "LiIo", "NiMh", "NiCd", "Pb".
    void SetDefaults() noexcept;

    // A text longer than kMaxChars is cut; an index out of range is ignored.
    void Set(std::size_t index, std::string_view cp1252) noexcept;

    // An index out of range reads as the empty text.
    [[nodiscard]] std::string_view operator[](std::size_t index) const noexcept;

  private:
    std::array<std::array<char, kMaxChars>, kCount> text_{};
    std::array<std::uint8_t, kCount> length_{};
};

// Lines 1..7 of the file become entries 0..6, each cut to 64 characters; later lines are ignored
// and entries without a line keep what they held. Line ends may be LF or CR LF. A file that
// cannot be opened (normally: it does not exist) sets the defaults.
void LoadBatteryTypeNames(BatteryTypeNames& names, const std::filesystem::path& path);

}  // namespace volt
