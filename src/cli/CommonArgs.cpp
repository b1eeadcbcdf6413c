#include "cli/CommonArgs.h"

#include "cli/CtlCommand.h"
#include "cli/ListReadMessages.h"
#include "cli/TerminalText.h"
#include "platform/AppPaths.h"
#include "platform/PlatformTexts.h"
#include "registry/CVantelAddChange.h"
#include "registry/RegistryTexts.h"
#include "ui/MemoryControls.h"

#include <ostream>

namespace vantel::ctl {

OpenedList::OpenedList(const CtlArgs& args)
    : codec(args.option("--codepage", "CP932")), list(AppPathsForList(args.option("--list", "")).listFile, codec),
      named(args.option("--list").has_value())
{
}

bool OpenedList::loadExisting(std::ostream& err)
{
    return load(!named, err);
}

bool OpenedList::loadForAdding(std::ostream& err)
{
    return load(true, err);
}

bool OpenedList::load(bool missingIsFine, std::ostream& err)
{
    list.Load();
    const ListReadReport& report = list.readReport();
    if (report.file == ListReadReport::File::Missing && !missingIsFine) {
        err << "list file not found: " << Printable(list.filePath()) << "\n";
        return false;
    }
    if (report.unreadable()) {
        err << UnreadableListText(list) << "\n";
        return false;
    }
    ReportLinesNotRead(list, err);
    return true;
}

bool OpenedList::lockForSaving(std::ostream& err)
{
    ListLock::Outcome outcome{};
    std::string holder;
    lock_ = ListLock::tryAcquire(list.filePath(), outcome, holder);
    // Unavailable: the folder takes no new files, so the save will fail and say so.
    if (outcome != ListLock::Outcome::Busy)
        return true;
    err << "the unit list " << list.filePath() << " is in use by another program"
        << (holder.empty() ? "" : " (" + holder + ")")
        << ", which would save over this change; close it and try again. Nothing was written.\n";
    return false;
}

bool UsableArgs(const CtlArgs& args, const std::set<std::string>& known, std::ostream& err)
{
    if (!args.error().empty()) {
        err << args.error() << "\n";
        return false;
    }
    if (const auto unknown = args.unknown(known); !unknown.empty()) {
        err << "unknown option " << unknown.front() << "\n";
        return false;
    }
    if (!TextCodec::isSupported(args.option("--codepage", "CP932"))) {
        err << kUnknownCodePage << args.option("--codepage", "") << "\n";
        return false;
    }
    return true;
}

int AddWithDialogRules(OpenedList& opened, const UnitConnection& in, bool confirm, std::ostream& out, std::ostream& err)
{
    MemoryControls view;
    view.answer = [confirm](std::string_view) { return confirm; };
    CVantelAddChange dialog(view, opened.list, -1, in, opened.codec);
    dialog.start();
    if (!dialog.onOk()) {
        for (const auto& question : view.questions)
            err << question << "\n(--yes confirms)\n";
        for (const auto& message : view.messages)
            err << message << "\n";
        return kExitRefused;
    }
    if (opened.list.Add(-1, dialog.values()) != 0) {
        err << kCannotAdd << "\n";
        return kExitRefused;
    }
    if (opened.list.Save() != 0) {
        err << kCannotSave << "\n";
        return kExitRefused;
    }
    ReportKeptCopy(opened.list, err);
    out << "added " << dialog.values().name << " as unit " << opened.list.count() << "\n";
    return kExitOk;
}

} // namespace vantel::ctl
