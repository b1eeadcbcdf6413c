#pragma once

#include "cli/CtlArgs.h"
#include "platform/TextCodec.h"
#include "registry/UnitList.h"

#include <iosfwd>
#include <set>
#include <string>

namespace vantel::ctl {

// The unit list named by --list (the program's own by default), read and
// written in the code page of --codepage (CP932 by default). Not loaded yet.
struct OpenedList {
    TextCodec codec;
    UnitList list;
    explicit OpenedList(const CtlArgs& args);
};

// Checks shared by every command that works on the list: a well-formed
// command line, only options from `known`, a code page the program knows.
// Prints what is wrong.
bool UsableListArgs(const CtlArgs& args, const std::set<std::string>& known, std::ostream& err);

} // namespace vantel::ctl
