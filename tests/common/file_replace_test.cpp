#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/file_replace.h"
#include "support/temp_dir.h"

namespace volt {
namespace {

TEST(ReplaceFileContents, ReplacesWholeAndLeavesNoTemporary) {
    test::TempDir dir;
    const auto target = dir.File("UserColor.dat");
    test::WriteFile(target, "old contents that are longer");
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    EXPECT_FALSE(ReplaceFileContents(target, bytes).has_value());
    EXPECT_EQ(test::ReadBytes(target), bytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(ReplaceFileContents, FailureKeepsOldFileAndReportsIt) {
    test::TempDir dir;
    const auto target = dir.File("run.CGM");
    test::WriteFile(target, "old");
    // A directory where the temporary file should go makes the write fail.
    std::filesystem::create_directory(dir.File("run.CGM.tmp~"));
    std::filesystem::create_directory(dir.File("run.CGM.tmp~") / "x");
    const std::vector<std::uint8_t> bytes = {9};
    const auto error = ReplaceFileContents(target, bytes);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("run.CGM"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(target), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

TEST(ReadFileBytes, WholeFileOrNothing) {
    test::TempDir dir;
    test::WriteFile(dir.File("a.bin"), std::string("x\0y", 3));
    EXPECT_EQ(ReadFileBytes(dir.File("a.bin")), std::string("x\0y", 3));
    EXPECT_EQ(ReadFileBytes(dir.File("missing")), std::nullopt);
    EXPECT_EQ(ReadFileBytes(dir.Path()), std::nullopt);  // a folder
}

}  // namespace
}  // namespace volt
