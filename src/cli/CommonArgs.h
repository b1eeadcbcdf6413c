#pragma once

#include "cli/CtlArgs.h"
#include "platform/ListLock.h"
#include "platform/TextCodec.h"
#include "registry/UnitList.h"

#include <iosfwd>
#include <memory>
#include <set>
#include <string>

namespace vantel::ctl {

// The unit list a command works on: --list FILE (default the program's own)
// in the --codepage code page (default CP932).
struct OpenedList {
    TextCodec codec;
    UnitList list;
    bool named; // --list was given
    explicit OpenedList(const CtlArgs& args);

    // Reads the list. A file named with --list must exist: a mistyped name
    // would otherwise read as an empty list. The default file may be missing
    // (a first start has none). A file that exists but cannot be read is
    // refused, and lines that could not be read are named, on `err`.
    bool loadExisting(std::ostream& err);
    // The same for a command that adds to the list: any missing file is a
    // list to start.
    bool loadForAdding(std::ostream& err);
    // For a command that saves: takes the list's lock before it reads, so the
    // list it saves is the one on disk. False, after saying why, while the
    // program or another command holds it.
    bool lockForSaving(std::ostream& err);

private:
    bool load(bool missingIsFine, std::ostream& err);

    std::unique_ptr<ListLock> lock_;
};

// Checks shared by every list command; prints what is wrong.
bool UsableArgs(const CtlArgs& args, const std::set<std::string>& known, std::ostream& err);

// Appends a unit after the unit dialog's own checks (run without a window:
// same checks, same messages; `confirm` answers its questions) and saves the
// list. Returns the exit code and prints what happened.
int AddWithDialogRules(OpenedList& opened, const UnitConnection& in, bool confirm, std::ostream& out,
                       std::ostream& err);

} // namespace vantel::ctl
