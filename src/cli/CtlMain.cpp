#include "cli/CtlMain.h"

#include "cli/ListCommands.h"
#include "cli/LogCommand.h"
#include "cli/PlotCommand.h"
#include "cli/SearchCommand.h"
#include "cli/TraceArgs.h"
#include "cli/UnitCommands.h"
#include "comm/link/FileTrace.h"
#include "platform/VersionText.h"

#include <algorithm>
#include <array>
#include <ostream>

namespace vantel::ctl {
namespace {

const std::array<const CtlCommand*, 8> kCommands = {&kListCommand,  &kAddCommand,    &kProbeCommand, &kReadCommand,
                                                    &kWriteCommand, &kSearchCommand, &kLogCommand,   &kPlotCommand};

// The commands that talk to units, and so take --trace.
const std::array<const CtlCommand*, 5> kTracedCommands = {&kProbeCommand, &kReadCommand, &kWriteCommand,
                                                          &kSearchCommand, &kLogCommand};

// Runs a command that talks to units, with its frames traced to a file when asked.
int RunTraced(const CtlCommand& command, std::vector<std::string> args, std::ostream& out, std::ostream& err)
{
    const TraceArgs trace = TakeTraceArgs(args);
    if (!trace.error.empty()) {
        err << trace.error << "\n";
        return kExitUsage;
    }
    FileTrace file;
    if (trace.file && !file.start(*trace.file, trace.maxMb)) {
        err << "cannot write the trace file " << *trace.file << "\n";
        return kExitRefused;
    }
    return command.run(args, out, err);
}

void usage(std::ostream& out)
{
    out << "Usage: vantelctl COMMAND [options]\n\nCommands:\n";
    for (const CtlCommand* command : kCommands)
        out << "  " << command->usage << "\n";
    out << "\nThe list file defaults to the program's own (see README); --codepage is CP932 or UTF-8.\n"
           "probe, read, write, search and log also take --trace FILE [--trace-max-mb N]: every frame\n"
           "to and from the units appended to FILE, one tab-separated line each (see README).\n"
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
        if (args[0] != command->name)
            continue;
        std::vector<std::string> rest(args.begin() + 1, args.end());
        if (std::find(kTracedCommands.begin(), kTracedCommands.end(), command) != kTracedCommands.end())
            return RunTraced(*command, std::move(rest), out, err);
        return command->run(rest, out, err);
    }
    err << "unknown command: " << args[0] << "\n";
    usage(err);
    return kExitUsage;
}

} // namespace vantel::ctl
