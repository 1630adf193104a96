// volttool: the command-line companion. Dispatches to the subcommand named first.

#include <iostream>
#include <string_view>
#include <vector>

#include "command.h"

namespace {

using volt::tool::Command;

constexpr Command kCommands[] = {
    {"csv", "write the CSV export of a run file", &volt::tool::RunCsvCommand},
    {"frames", "decode a byte capture of charger frames into JSON lines",
     &volt::tool::RunFramesCommand},
    {"info", "print the header of a run file as one JSON object", &volt::tool::RunInfoCommand},
};

void PrintUsage(std::ostream& out) {
    out << "usage: volttool COMMAND [ARGS...]\n"
           "       volttool COMMAND --help\n\ncommands:\n";
    for (const Command& c : kCommands) {
        out << "  " << c.name << std::string(c.name.size() < 10 ? 10 - c.name.size() : 1, ' ')
            << c.summary << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintUsage(std::cerr);
        return volt::tool::kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintUsage(std::cout);
        return volt::tool::kExitOk;
    }
    for (const Command& c : kCommands) {
        if (c.name == args[0]) {
            return c.run(std::span(args).subspan(1), std::cin, std::cout, std::cerr);
        }
    }
    std::cerr << "volttool: unknown command '" << args[0] << "'\n";
    PrintUsage(std::cerr);
    return volt::tool::kExitUsage;
}
