#pragma once
// The port list beyond what the system registers: device paths given in an environment
// variable, which is how a simulator on a pseudo-terminal is reached.

#include <string>
#include <string_view>
#include <vector>

namespace volt {

inline constexpr const char* kExtraPortsVariable = "VOLTARIS_PORTS";

// Appends every entry of a colon-separated list of device paths, in order; empty entries
// ("a::b", a trailing ':') are skipped.
void AppendPortPaths(std::vector<std::string>& list, std::string_view colonSeparated);

}  // namespace volt
