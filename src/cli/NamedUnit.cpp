#include "cli/NamedUnit.h"

#include "cli/CommonArgs.h"
#include "cli/CtlCommand.h"

#include <ostream>

namespace vantel::ctl {

NamedUnit FindNamedUnit(const std::vector<std::string>& args, const std::set<std::string>& flags, std::ostream& err)
{
    const CtlArgs parsed(args, flags);
    NamedUnit named;
    const auto name = parsed.option("--unit");
    named.given = name.has_value();
    if (!named.given)
        return named;
    named.exitCode = kExitRefused;
    OpenedList opened(parsed);
    if (!opened.loadExisting(err))
        return named;
    for (int i = 0; i < opened.list.count(); ++i)
        if (opened.list.at(i).name == *name) {
            named.unit = opened.list.at(i);
            named.unit->panel = nullptr;
            return named;
        }
    err << "no unit named \"" << *name << "\" in " << opened.list.filePath() << "\n";
    return named;
}

std::vector<std::string> WithUnitAddress(const std::vector<std::string>& args, const UnitRecord& unit)
{
    std::vector<std::string> rewritten{unit.host + ":" + std::to_string(unit.controlPort), "--model",
                                       std::to_string(unit.modelRow), "--second-port", std::to_string(unit.secondPort)};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--unit" || word == "--list" || word == "--codepage") {
            ++i; // and its value
            continue;
        }
        rewritten.push_back(word);
    }
    return rewritten;
}

} // namespace vantel::ctl
