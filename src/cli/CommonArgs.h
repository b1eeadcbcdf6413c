#pragma once

#include "cli/CtlArgs.h"
#include "platform/TextCodec.h"
#include "registry/UnitList.h"

#include <iosfwd>
#include <set>
#include <string>

namespace vantel::ctl {

// The unit list a command works on: --list FILE (default the program's own)
// in the --codepage code page (default CP932).
struct OpenedList {
    TextCodec codec;
    UnitList list;
    explicit OpenedList(const CtlArgs& args);
};

// Checks shared by every list command; prints what is wrong.
bool UsableArgs(const CtlArgs& args, const std::set<std::string>& known, std::ostream& err);

// Appends a unit after the unit dialog's own checks (run without a window:
// same checks, same messages; `confirm` answers its questions) and saves the
// list. Returns the exit code and prints what happened.
int AddWithDialogRules(OpenedList& opened, const UnitConnection& in, bool confirm, std::ostream& out,
                       std::ostream& err);

} // namespace vantel::ctl
