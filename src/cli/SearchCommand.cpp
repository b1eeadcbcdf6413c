#include "cli/SearchCommand.h"

#include "cli/CliTexts.h"
#include "cli/CommonArgs.h"
#include "panels/framework/PanelTexts.h"
#include "platform/Adapters.h"
#include "platform/TcpSocket.h"
#include "search/DiscoveryTexts.h"
#include "search/FoundUnit.h"
#include "search/ModelQuery.h"
#include "search/SearchTexts.h"
#include "search/UnitDiscovery.h"

#include <ostream>

namespace vantel::ctl {
namespace {

// The adapter the sockets bind to: as given; for a loopback target 127.0.0.1;
// otherwise the first adapter, as the main window selects it.
bool ChooseAdapter(const CtlArgs& args, const DatagramAddress& target, Ipv4Address& adapter, std::ostream& err)
{
    if (const auto given = args.option("--adapter")) {
        if (ParseDottedAddress(*given, adapter))
            return true;
        err << "--adapter needs a dotted IPv4 address\n";
        return false;
    }
    if (IsLoopbackAddress(target.address)) {
        adapter = LoopbackAddress();
        return true;
    }
    const auto adapters = ListAdapters();
    if (adapters.empty()) {
        err << kNoAdapterFound << "\n";
        return false;
    }
    adapter = adapters.front().address;
    return true;
}

void PrintTable(const DiscoveryTable& table, std::ostream& out)
{
    for (int i = 0; i < table.count(); ++i) {
        const DiscoveryEntry& entry = table.at(i);
        out << i + 1 << '\t' << MacText(entry.mac) << '\t' << entry.ipText << '\t' << ModelColumnText(entry) << '\t'
            << (entry.registered ? "registered" : "") << '\n';
    }
}

int AddFound(OpenedList& opened, DiscoveryEntry& entry, Ipv4Address adapter, bool confirm, std::ostream& out,
             std::ostream& err)
{
    const bool known = entry.modelCode != kUnknownModel || QueryUnitModel(entry, adapter);
    if (!known || entry.modelCode == kUnknownModel || !SettleGcKind(entry)) {
        err << kModelUnknown << "\n";
        return kExitRefused;
    }
    return AddWithDialogRules(opened, ProposedConnection(entry), confirm, out, err);
}

} // namespace

int RunSearch(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err)
{
    CtlArgs args(rawArgs, {"--yes"});
    const std::set<std::string> known = {"--target", "--adapter", "--port", "--timeout",
                                         "--add",    "--yes",     "--list", "--codepage"};
    DiscoverySettings settings;
    settings.searchPort = args.number("--port").value_or(0);
    settings.timeoutMs = args.number("--timeout").value_or(settings.timeoutMs);
    const auto add = args.number("--add");
    if (!UsableArgs(args, known, err) || !args.positional().empty())
        return kExitUsage;
    if (const auto target = args.option("--target"); target && !ParseDatagramAddress(*target, settings.target)) {
        err << "--target needs ADDR:PORT\n";
        return kExitUsage;
    }
    if (settings.timeoutMs < 1 || settings.timeoutMs > 19999) {
        err << "--timeout needs 1-19999 ms\n";
        return kExitUsage;
    }
    if (!ChooseAdapter(args, settings.target, settings.adapter, err))
        return kExitUsage;

    OpenedList opened(args);
    if (add) {
        // Adding creates the list file when it does not exist yet.
        if (!opened.lockForSaving(err) || !opened.loadForAdding(err))
            return kExitRefused;
    } else if (!opened.loadExisting(err)) {
        return kExitRefused;
    }
    DiscoveryTable table;
    UnitDiscovery discovery;
    if (!discovery.search(table, settings)) {
        err << kCommunicationErrorHead << "\n";
        return kExitRefused;
    }
    table.markRegistered(opened.list);
    PrintTable(table, out);
    if (!add)
        return kExitOk;
    if (*add < 1 || *add > table.count()) {
        err << "--add needs a unit number from the list above\n";
        return kExitRefused;
    }
    return AddFound(opened, table.at(*add - 1), settings.adapter, args.flag("--yes"), out, err);
}

const CtlCommand kSearchCommand{"search",
                                "search [--target ADDR:PORT] [--adapter ADDR] [--port P] [--timeout MS]\n"
                                "      [--add N [--yes]] [--list FILE] [--codepage CP]",
                                RunSearch};

} // namespace vantel::ctl
