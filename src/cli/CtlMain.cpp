#include "cli/CtlMain.h"

#include "cli/ListCommands.h"
#include "cli/LogCommand.h"
#include "cli/PlotCommand.h"
#include "cli/SearchCommand.h"
#include "cli/UnitCommands.h"
#include "platform/VersionText.h"

#include <array>
#include <ostream>

namespace vantel::ctl {
namespace {

const std::array<const CtlCommand*, 8> kCommands = {&kListCommand,  &kAddCommand,    &kProbeCommand, &kReadCommand,
                                                    &kWriteCommand, &kSearchCommand, &kLogCommand,   &kPlotCommand};

void usage(std::ostream& out)
{
    out << "Usage: vantelctl COMMAND [options]\n\nCommands:\n";
    for (const CtlCommand* command : kCommands)
        out << "  " << command->usage << "\n";
    out << "\nThe list file defaults to the program's own (see README); --codepage is CP932 or UTF-8.\n"
           "vantelctl --version prints the version.\n"
           "Exit codes: 0 done, 1 refused (the message says why), 2 bad command line.\n";
}

} // namespace

int RunVantelctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        usage(args.empty() ? err : out);
        return args.empty() ? kExitUsage : kExitOk;
    }
    if (args[0] == "--version") {
        out << "vantelctl " << ProgramVersionText() << "\n";
        return kExitOk;
    }
    for (const CtlCommand* command : kCommands) {
        if (args[0] == command->name)
            return command->run({args.begin() + 1, args.end()}, out, err);
    }
    err << "unknown command: " << args[0] << "\n";
    usage(err);
    return kExitUsage;
}

} // namespace vantel::ctl
