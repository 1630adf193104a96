#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "appearance/color_scheme.h"
#include "support/temp_dir.h"

namespace volt {
namespace {

// Entry k holds 0x00AAAAAA + k: every byte differs from the bytes of the test files.
void FillScheme(ColorScheme& scheme) {
    for (int entry = 1; entry <= kColorEntryCount; ++entry) {
        scheme.Set(entry, 0x00AAAAAAu + static_cast<std::uint32_t>(entry));
    }
}

std::string FileOf(std::size_t length) {
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<char>(0x10 + i % 0x40);
    }
    return bytes;
}

TEST(ColorScheme, LabelsOfTheDialog) {
    EXPECT_EQ(ColorLabel(1), "IndividualVoltage");
    EXPECT_EQ(ColorLabel(kGuageArea), "GuageArea");
    EXPECT_EQ(ColorLabel(kLinkOn), "LinkOn");
    EXPECT_EQ(ColorLabel(kUnSelectedChannel), "UnSelectedChannel");
    EXPECT_EQ(ColorLabel(kCellIdFont), "CELLIDFont");
    EXPECT_EQ(ColorLabel(30), "Time Text");
    EXPECT_EQ(ColorLabel(31), "t2");
    EXPECT_EQ(ColorLabel(40), "t11");
    EXPECT_EQ(ColorLabel(41), "");
}

TEST(ColorScheme, FileLengthDecidesWhatIsReplaced) {
    const struct {
        std::size_t Length;
        std::size_t BytesReplaced;
    } cases[] = {{40, 40}, {41, 41}, {160, 160}, {200, 160}, {0, 0}};
    for (const auto& c : cases) {
        test::TempDir dir;
        const auto path = dir.File("UserColor.dat");
        const std::string file = FileOf(c.Length);
        test::WriteFile(path, file);
        ColorScheme scheme;
        FillScheme(scheme);
        const ColorFileImage before = scheme.ToBytes();
        EXPECT_TRUE(LoadUserColors(scheme, path));
        const ColorFileImage after = scheme.ToBytes();
        for (std::size_t i = 0; i < kColorFileBytes; ++i) {
            const std::uint8_t expected =
                i < c.BytesReplaced ? static_cast<std::uint8_t>(file[i]) : before[i];
            ASSERT_EQ(after[i], expected) << "length " << c.Length << " byte " << i;
        }
    }
}

TEST(ColorScheme, FortyBytesChangeEntriesOneToTenOnly) {
    test::TempDir dir;
    test::WriteFile(dir.File("c.dat"), std::string(40, '\x01'));
    ColorScheme scheme;
    FillScheme(scheme);
    ASSERT_TRUE(LoadUserColors(scheme, dir.File("c.dat")));
    for (int entry = 1; entry <= kColorEntryCount; ++entry) {
        EXPECT_EQ(scheme.Get(entry), entry <= 10 ? 0x01010101u : 0x00AAAAAAu + entry) << entry;
    }
}

TEST(ColorScheme, MissingOrUnreadableFileLeavesTheTable) {
    test::TempDir dir;
    ColorScheme scheme;
    EXPECT_FALSE(LoadUserColors(scheme, dir.File("UserColor.dat")));
    EXPECT_EQ(scheme.Get(kLinkOn), 0u);
    // Exists but holds no readable bytes.
    std::filesystem::create_directory(dir.File("folder.dat"));
    FillScheme(scheme);
    EXPECT_TRUE(LoadUserColors(scheme, dir.File("folder.dat")));
    EXPECT_EQ(scheme.Get(kLinkOn), 0x00AAAAAAu + kLinkOn);
}

TEST(ColorScheme, SaveWritesLittleEndianAndLoadsBack) {
    test::TempDir dir;
    const auto path = dir.File("UserColor.dat");
    ColorScheme scheme;
    FillScheme(scheme);
    scheme.Set(1, 0x00332211u);
    scheme.Set(40, 0x00CCBBAAu);
    ASSERT_FALSE(SaveUserColors(scheme, path).has_value());
    const auto bytes = test::ReadBytes(path);
    ASSERT_EQ(bytes.size(), kColorFileBytes);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4)),
              (std::vector<std::uint8_t>{0x11, 0x22, 0x33, 0x00}));
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.end() - 4, bytes.end())),
              (std::vector<std::uint8_t>{0xAA, 0xBB, 0xCC, 0x00}));
    ColorScheme loaded;
    ASSERT_TRUE(LoadUserColors(loaded, path));
    EXPECT_EQ(loaded.ToBytes(), scheme.ToBytes());
}

TEST(ColorScheme, FailedSaveKeepsTheOldFileWhole) {
    test::TempDir dir;
    const auto path = dir.File("UserColor.dat");
    const std::string old = FileOf(160);
    test::WriteFile(path, old);
    // A non-empty directory where the temporary file would go fails the write, also for root.
    std::filesystem::create_directories(dir.File("UserColor.dat.tmp~") / "x");
    ColorScheme scheme;
    const auto error = SaveUserColors(scheme, path);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("UserColor.dat"), std::string::npos) << *error;
    EXPECT_EQ(test::ReadBytes(path), std::vector<std::uint8_t>(old.begin(), old.end()));
}

// The shipped table: complete, plain colours, one distinct hue per measured quantity, and
// value texts that differ from the panels behind them.
TEST(ColorScheme, ShippedColourFile) {
    const char* bin = std::getenv("VOLT_BIN_DIR");
    ASSERT_NE(bin, nullptr);
    const auto path = std::filesystem::path(bin) / kColorFileName;
    ASSERT_EQ(test::ReadBytes(path).size(), kColorFileBytes);
    ColorScheme scheme;
    ASSERT_TRUE(LoadUserColors(scheme, path));
    for (int entry = 1; entry <= kColorEntryCount; ++entry) {
        EXPECT_EQ(scheme.Get(entry) >> 24, 0u) << entry;
    }
    const std::set<std::uint32_t> texts = {scheme.Get(kVoltageColor), scheme.Get(kCurrentColor),
                                           scheme.Get(kCapacityColor),
                                           scheme.Get(kTemperatureColor)};
    EXPECT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts.count(scheme.Get(kGuageValueBackground)), 0u);
    EXPECT_EQ(texts.count(scheme.Get(kGraphBackground)), 0u);
    EXPECT_NE(scheme.Get(kLinkOn), scheme.Get(kLinkOff));
    EXPECT_NE(scheme.Get(kRunOn), scheme.Get(kRunOff));
    EXPECT_NE(scheme.Get(kCellLastValueFont), scheme.Get(kCellLastValue));
    EXPECT_NE(scheme.Get(kCellCursorFont), scheme.Get(kCellCursor));
}

}  // namespace
}  // namespace volt
