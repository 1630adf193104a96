#pragma once
// A fresh directory per test, removed with everything in it when the test ends.

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace volt::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const noexcept { return path_; }
    [[nodiscard]] std::filesystem::path File(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, std::string_view contents);
[[nodiscard]] std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);

}  // namespace volt::test
