#include "files/run_file_magic.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "graph/cgm_header.h"

namespace volt {

bool IsRunFile(std::span<const std::uint8_t> bytes) noexcept {
    if (bytes.size() < 1 + kRunFileMagic.size() || bytes[0] != kRunFileMagic.size()) {
        return false;
    }
    return std::equal(kRunFileMagic.begin(), kRunFileMagic.end(), bytes.begin() + 1,
                      [](char expected, std::uint8_t actual) {
                          return static_cast<std::uint8_t>(expected) == actual;
                      });
}

bool IsRunFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::array<char, kCgmHeaderBytes> buffer{};
    in.read(buffer.data(), buffer.size());
    const auto count = static_cast<std::size_t>(in.gcount());
    return IsRunFile(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(buffer.data()), count));
}

}  // namespace volt
