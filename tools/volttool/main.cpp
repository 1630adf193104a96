// volttool: command-line companion of the monitor.

#include <iostream>
#include <span>
#include <string_view>

#include "info_command.h"

namespace {

void PrintUsage(std::ostream& out) {
    out << "usage: volttool COMMAND [ARGS]\n"
           "Commands:\n"
           "  info FILE   print the header of a run file as JSON\n"
           "  --help      show this text\n";
}

}  // namespace

int main(int argc, char** argv) {
    const std::span<char* const> args(argv, static_cast<std::size_t>(argc));
    if (args.size() < 2) {
        PrintUsage(std::cerr);
        return volt::tool::kExitUsage;
    }
    const std::string_view command = args[1];
    if (command == "--help" || command == "-h") {
        PrintUsage(std::cout);
        return volt::tool::kExitOk;
    }
    if (command == "info") {
        return volt::tool::RunInfoCommand(args.subspan(2), std::cout, std::cerr);
    }
    std::cerr << "volttool: unknown command '" << command << "' (see volttool --help)\n";
    return volt::tool::kExitUsage;
}
