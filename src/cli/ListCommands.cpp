#include "cli/ListCommands.h"

#include "cli/CliTexts.h"
#include "cli/CommonArgs.h"
#include "cli/TerminalText.h"
#include "registry/CVantelAddChange.h"
#include "registry/ModelCatalogue.h"
#include "registry/UnitList.h"
#include "registry/UnitListColumns.h"

#include <ostream>

namespace vantel::ctl {

int RunList(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err)
{
    const CtlArgs args(rawArgs, {});
    if (!UsableArgs(args, {"--list", "--codepage"}, err) || !args.positional().empty())
        return kExitUsage;
    OpenedList opened(args);
    if (!opened.loadExisting(err))
        return kExitRefused;
    for (int i = 0; i < opened.list.count(); ++i) {
        const UnitListRow row = UnitListColumns(opened.list.at(i));
        out << Printable(row[0]) << '\t' << Printable(row[1]) << '\t' << row[2] << '\t' << row[3] << '\n';
    }
    return kExitOk;
}

int RunAdd(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err)
{
    CtlArgs args(rawArgs, {"--yes"});
    const std::set<std::string> known = {"--list",        "--codepage", "--name",    "--host", "--model", "--port",
                                         "--second-port", "--node",     "--timeout", "--com",  "--yes"};
    UnitConnection in;
    in.name = args.option("--name", "");
    in.host = args.option("--host", "");
    const auto model = args.number("--model");
    in.controlPort = args.number("--port").value_or(kDefaultControlPort);
    in.secondPort = args.number("--second-port").value_or(kDefaultSecondPort);
    in.node = args.number("--node").value_or(0);
    in.replyTimeout = args.number("--timeout").value_or(10);
    const auto com = args.number("--com");
    if (!UsableArgs(args, known, err) || !args.positional().empty())
        return kExitUsage;
    if (!model || !IsKnownModelRow(*model)) {
        err << ModelRowUsage() << "\n";
        return kExitUsage;
    }
    in.modelRow = *model;
    in.connectionKind = com ? kConnectionUsb : kConnectionLan;
    in.comPort = com.value_or(1);
    if (in.comPort < 1 || in.comPort > kComPortCount) {
        err << "--com needs a port number from 1 to " << kComPortCount << "\n";
        return kExitUsage;
    }

    OpenedList opened(args);
    // Adding creates the list file when it does not exist yet.
    if (!opened.lockForSaving(err) || !opened.loadForAdding(err))
        return kExitRefused;
    return AddWithDialogRules(opened, in, args.flag("--yes"), out, err);
}

const CtlCommand kListCommand{"list", "list [--list FILE] [--codepage CP]", RunList};
const CtlCommand kAddCommand{"add",
                             "add --name N --host H --model ROW [--port P] [--second-port P]\n"
                             "      [--node N --timeout S [--com N]] [--yes] [--list FILE] [--codepage CP]",
                             RunAdd};

} // namespace vantel::ctl
