#pragma once
// A program started by a test, with its standard output on a pipe, its standard error in a
// file, and deadlines on every wait so that a hung program fails the test instead of stalling it.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace volt::test {

class ChildProcess {
  public:
    // program is looked up in VOLT_BIN_DIR. stderr goes to errFile.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::filesystem::path& errFile);
    ~ChildProcess();  // kills the program if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    [[nodiscard]] bool Started() const noexcept { return pid_ > 0; }
    // The next line of standard output, without its '\n'; nothing when the deadline passes or
    // the output ends first.
    [[nodiscard]] std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    void Signal(int signal) const;
    // The exit status, or nothing when it is still running at the deadline (or was killed by a
    // signal: then -signal).
    [[nodiscard]] std::optional<int> Wait(std::chrono::milliseconds timeout);

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffered_;
    std::optional<int> status_;
};

// VOLT_BIN_DIR / name.
[[nodiscard]] std::filesystem::path ProgramPath(const std::string& name);

}  // namespace volt::test
