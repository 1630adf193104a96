#pragma once
// Replacing a file the safe way: the new contents go to a temporary file beside the target,
// are flushed, and the temporary file is renamed over the target. A failed write leaves the
// old file whole.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace volt {

// Returns the platform's error text when the file could not be written; nothing on success.
[[nodiscard]] std::optional<std::string> ReplaceFileContents(const std::filesystem::path& target,
                                                             std::span<const std::uint8_t> bytes);

// Reads the whole file; nothing when it cannot be opened.
[[nodiscard]] std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

}  // namespace volt
