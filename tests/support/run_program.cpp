#include "support/run_program.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

namespace volt::test {

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

std::string ReadText(const std::filesystem::path& path) {
    const auto bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

ProgramRun RunBuiltProgram(const TempDir& dir, std::string_view program,
                           const std::string& arguments, const std::string& environment) {
    const char* bin = std::getenv("VOLT_BIN_DIR");
    EXPECT_NE(bin, nullptr) << "VOLT_BIN_DIR is not set";
    const std::filesystem::path path = std::filesystem::path(bin ? bin : ".") / program;
    const std::string command = "env " + environment + " " + Quoted(path) + " " + arguments + " >" +
                                Quoted(dir.File("stdout")) + " 2>" + Quoted(dir.File("stderr"));
    const int raw = std::system(command.c_str());
    ProgramRun run;
    run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.Out = ReadText(dir.File("stdout"));
    run.Err = ReadText(dir.File("stderr"));
    return run;
}

}  // namespace volt::test
