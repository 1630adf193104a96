#pragma once
// The 40 user colours of the program, indexed 1..40, all black until "UserColor.dat" is read.
// Entries are colours in the 0x00BBGGRR encoding (red in the low byte), handed to the windows
// unchanged. The file is the 40 entries as 32-bit little-endian words, 160 bytes, nothing else.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace volt {

inline constexpr int kColorEntryCount = 40;
inline constexpr std::size_t kColorFileBytes = 4 * kColorEntryCount;
inline constexpr std::string_view kColorFileName = "UserColor.dat";

// Entries that window elements read; 30..40 are stored and edited but paint nothing.
inline constexpr int kIndividualVoltage = 1;
inline constexpr int kGuageArea = 2;
inline constexpr int kGuageBackground = 3;
inline constexpr int kGuageTitleBackground = 4;
inline constexpr int kGuageTitleFont = 5;
inline constexpr int kGuageValueBackground = 6;
inline constexpr int kLinkOn = 7;
inline constexpr int kLinkOff = 8;
inline constexpr int kRunOn = 9;
inline constexpr int kRunOff = 10;
inline constexpr int kGraphBackground = 11;
inline constexpr int kSelectChannel = 12;
inline constexpr int kUnSelectedChannel = 13;
inline constexpr int kVoltageColor = 14;
inline constexpr int kCurrentColor = 15;
inline constexpr int kCapacityColor = 16;
inline constexpr int kTemperatureColor = 17;
inline constexpr int kDurationColor = 18;
inline constexpr int kInputVoltageColor = 19;
inline constexpr int kCapacityArea = 20;
inline constexpr int kCellTitle = 21;
inline constexpr int kCellTitleFont = 22;
inline constexpr int kCellLastPanel = 23;
inline constexpr int kCellCursorPanel = 24;
inline constexpr int kCellIdFont = 25;
inline constexpr int kCellLastValue = 26;
inline constexpr int kCellLastValueFont = 27;
inline constexpr int kCellCursor = 28;
inline constexpr int kCellCursorFont = 29;

// Entries outside 1..40 are not valid for Get and Set.
// The entry's name as the colour dialog shows it, for entries 1..40.
[[nodiscard]] std::string_view ColorLabel(int entry) noexcept;

using ColorFileImage = std::array<std::uint8_t, kColorFileBytes>;

class ColorScheme {
  public:
    // Series refill threads read entries while the GUI thread may change them; every entry is
    // one atomic word, so a point drawn across a change carries either colour.
    [[nodiscard]] std::uint32_t Get(int entry) const noexcept {
        return entries_[Slot(entry)].load(std::memory_order_relaxed);
    }
    void Set(int entry, std::uint32_t color) noexcept {
        entries_[Slot(entry)].store(color, std::memory_order_relaxed);
    }

    [[nodiscard]] ColorFileImage ToBytes() const noexcept;
    // Replaces the first bytes.size() bytes of the table's image (at most 160): a short file
    // changes only the bytes it holds, even part of an entry.
    void OverlayBytes(std::span<const std::uint8_t> bytes) noexcept;

  private:
    [[nodiscard]] static std::size_t Slot(int entry) noexcept {
        return static_cast<std::size_t>(entry - 1);
    }
    std::array<std::atomic<std::uint32_t>, kColorEntryCount> entries_{};
};

// False when no file exists at the path (table unchanged). A file that exists but cannot be
// read leaves the table unchanged and still gives true.
[[nodiscard]] bool LoadUserColors(ColorScheme& scheme, const std::filesystem::path& path);

// Replaces the file as a whole; on failure the old file stays as it was and the platform's
// message is returned.
[[nodiscard]] std::optional<std::string> SaveUserColors(const ColorScheme& scheme,
                                                        const std::filesystem::path& path);

}  // namespace volt
