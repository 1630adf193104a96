#pragma once
// "volttool info FILE": the header of a run file as one JSON object on standard output.

#include <iosfwd>
#include <span>

namespace volt::tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // not a run file, missing, unreadable
inline constexpr int kExitUsage = 2;    // bad arguments

// args are the arguments after the command name.
[[nodiscard]] int RunInfoCommand(std::span<char* const> args, std::ostream& out, std::ostream& err);

void PrintInfoUsage(std::ostream& out);

}  // namespace volt::tool
