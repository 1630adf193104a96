#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/run_file_magic.h"
#include "support/temp_dir.h"

namespace volt {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(IsRunFile, MagicTest) {
    const std::string magic = "\x0FTARVEX_CGM_3_XP";
    const struct {
        const char* Name;
        std::string Bytes;
        bool Expected;
    } cases[] = {
        {"exact 16 bytes", magic, true},
        {"followed by anything", magic + std::string(300, '\xEE'), true},
        {"length byte 14", "\x0ETARVEX_CGM_3_XP", false},
        {"length byte 16", "\x10TARVEX_CGM_3_XPX", false},
        {"one character differs", "\x0FTARVEX_CGM_3_XQ", false},
        {"lower case", "\x0Ftarvex_cgm_3_xp", false},
        {"cut short", magic.substr(0, 15), false},
        {"empty", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsRunFile(std::span<const std::uint8_t>(Bytes(c.Bytes))), c.Expected) << c.Name;
    }

    test::TempDir dir;
    test::WriteFile(dir.File("good.CGM"), magic + std::string(261, '\0'));
    test::WriteFile(dir.File("bad.CGM"), "\x0FTARVEX_CGM_2_XP");
    EXPECT_TRUE(IsRunFile(dir.File("good.CGM")));
    EXPECT_FALSE(IsRunFile(dir.File("bad.CGM")));
    EXPECT_FALSE(IsRunFile(dir.File("missing.CGM")));
    EXPECT_FALSE(IsRunFile(dir.Path()));
}

}  // namespace
}  // namespace volt
