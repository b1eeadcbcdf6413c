#pragma once

#include "cli/CtlCommand.h"

namespace vantel::ctl {

// vantelctl list: the four columns of the main window, tab-separated, UTF-8.
int RunList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// vantelctl add: appends a unit after the unit dialog's checks, then saves.
int RunAdd(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CtlCommand kListCommand;
extern const CtlCommand kAddCommand;

} // namespace vantel::ctl
