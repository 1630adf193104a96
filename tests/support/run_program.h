#pragma once
// Runs one of the built programs (from VOLT_BIN_DIR) through the shell and collects what it
// printed, for the end-to-end tests.

#include <filesystem>
#include <string>
#include <string_view>

#include "support/temp_dir.h"

namespace volt::test {

struct ProgramRun {
    int Status = -1;  // exit status; -1 when the program did not exit normally
    std::string Out;
    std::string Err;
};

// `arguments` is shell text (quote paths with Quoted); `environment` holds assignments such as
// "LC_ALL=C TZ=UTC" that are set for the program only. Output goes through files in `dir`.
[[nodiscard]] ProgramRun RunBuiltProgram(const TempDir& dir, std::string_view program,
                                         const std::string& arguments,
                                         const std::string& environment = "");

[[nodiscard]] std::string Quoted(const std::filesystem::path& path);
[[nodiscard]] std::string ReadText(const std::filesystem::path& path);

}  // namespace volt::test
