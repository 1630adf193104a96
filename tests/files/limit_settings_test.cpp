#include <gtest/gtest.h>

#include <string>

#include "files/limit_settings.h"
#include "support/temp_dir.h"

namespace volt {
namespace {

std::string ReadText(const std::filesystem::path& path) {
    const auto bytes = test::ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

TEST(LimitSettings, MissingFileIsCreatedWithTheDefaultsInOrder) {
    test::TempDir dir;
    const LimitSettingsResult result = LoadLimitSettings(dir.Path());
    EXPECT_FALSE(result.WriteError.has_value());
    EXPECT_EQ(result.Settings, kDefaultLimitSettings);
    EXPECT_EQ(result.Settings.CurrentMax, 1000);
    EXPECT_EQ(result.Settings.VoltageMin, 600);
    EXPECT_EQ(ReadText(dir.File("Values.ini")),
              "[Voltage]\nMax=1000\nMin=600\n\n"
              "[Current]\nMax=1000\nMin=0\n\n"
              "[Capacity]\nMax=100\nMin=0\n\n"
              "[Temperature]\nMax=100\nMin=0\n");
}

TEST(LimitSettings, ExistingFileIsReadAndNotRepaired) {
    test::TempDir dir;
    const std::string text = "[Current]\nMax=0x7D0\nMin=-100\n[Capacity]\nMax=lots\n";
    test::WriteFile(dir.File("Values.ini"), text);
    const LimitSettingsResult result = LoadLimitSettings(dir.Path());
    EXPECT_FALSE(result.WriteError.has_value());
    LimitSettings expected = kDefaultLimitSettings;
    expected.CurrentMax = 2000;
    expected.CurrentMin = -100;
    EXPECT_EQ(result.Settings, expected);
    EXPECT_EQ(ReadText(dir.File("Values.ini")), text);
}

// The directory cannot hold a file, whatever the user's rights: its path runs through a
// regular file. The defaults stay in effect and the platform's message comes back.
TEST(LimitSettings, UnwritableDirectoryKeepsTheDefaultsAndReports) {
    test::TempDir dir;
    test::WriteFile(dir.File("plain"), "x");
    const LimitSettingsResult result = LoadLimitSettings(dir.File("plain") / "sub");
    ASSERT_TRUE(result.WriteError.has_value());
    EXPECT_NE(result.WriteError->find("Values.ini"), std::string::npos) << *result.WriteError;
    EXPECT_EQ(result.Settings, kDefaultLimitSettings);
}

}  // namespace
}  // namespace volt
