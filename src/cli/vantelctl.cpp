// vantelctl: the unit list and the units from the command line, for scripts
// and machines without a screen.
#include "cli/ListCommands.h"
#include "cli/LogCommand.h"
#include "cli/SearchCommand.h"
#include "cli/UnitCommands.h"

#include <array>
#include <iostream>

namespace {

using vantel::ctl::CtlCommand;

const std::array<const CtlCommand*, 7> kCommands = {
    &vantel::ctl::kListCommand,  &vantel::ctl::kAddCommand,    &vantel::ctl::kProbeCommand, &vantel::ctl::kReadCommand,
    &vantel::ctl::kWriteCommand, &vantel::ctl::kSearchCommand, &vantel::ctl::kLogCommand};

void usage(std::ostream& out)
{
    out << "Usage: vantelctl COMMAND [options]\n\nCommands:\n";
    for (const CtlCommand* command : kCommands)
        out << "  " << command->usage << "\n";
    out << "\nThe list file defaults to the program's own (see README); --codepage is CP932 or UTF-8.\n"
           "Exit codes: 0 done, 1 refused (the message says why), 2 bad command line.\n";
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        usage(args.empty() ? std::cerr : std::cout);
        return args.empty() ? vantel::ctl::kExitUsage : vantel::ctl::kExitOk;
    }
    for (const CtlCommand* command : kCommands) {
        if (args[0] == command->name)
            return command->run({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
    std::cerr << "unknown command: " << args[0] << "\n";
    usage(std::cerr);
    return vantel::ctl::kExitUsage;
}
