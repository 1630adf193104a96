#pragma once
// A volttool subcommand: it gets the words after its name and the two output streams, and
// returns the exit status (0 done, 1 failed, 2 bad arguments).

#include <iosfwd>
#include <span>
#include <string_view>

namespace volt::tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

using CommandFunction = int (*)(std::span<const std::string_view> args, std::istream& in,
                                std::ostream& out, std::ostream& err);

struct Command {
    std::string_view name;
    std::string_view summary;
    CommandFunction run;
};

// One line per command, each defined in its own file.
int RunCsvCommand(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
                  std::ostream& err);
int RunFramesCommand(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
                     std::ostream& err);
int RunInfoCommand(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
                   std::ostream& err);

}  // namespace volt::tool
