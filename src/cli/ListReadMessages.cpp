#include "cli/ListReadMessages.h"

#include "cli/TerminalText.h"
#include "registry/RegistryTexts.h"

#include <ostream>

namespace vantel::ctl {
namespace {

std::string WhySkipped(const LineFault& fault)
{
    if (fault.kind == LineFault::Kind::UnknownModel)
        return "model row \"" + Printable(fault.modelField) + "\" is not in the catalogue";
    return std::to_string(fault.fields) + (fault.fields == 1 ? " field" : " fields") + ", its model needs " +
           std::to_string(fault.fieldsNeeded);
}

} // namespace

std::string UnreadableListText(const UnitList& list)
{
    return std::string(kListUnreadable) + ": " + Printable(list.filePath()) + ": " + list.readReport().reason;
}

void ReportLinesNotRead(const UnitList& list, std::ostream& err)
{
    const ListReadReport& report = list.readReport();
    const std::string file = Printable(list.filePath());
    for (const SkippedLine& line : report.skipped)
        err << file << ": line " << line.number << " skipped: " << WhySkipped(line.fault) << "\n";
    if (report.linesNotRead > 0)
        err << file << ": " << report.linesNotRead << " more unit lines not read: a list holds at most "
            << UnitList::kMaxUnits << " units\n";
}

void ReportKeptCopy(const UnitList& list, std::ostream& err)
{
    if (list.copyKept())
        err << "the lines that could not be read are kept: the file as it was is "
            << Printable(list.readReport().keptCopy) << "\n";
}

} // namespace vantel::ctl
