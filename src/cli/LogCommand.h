#pragma once

#include "cli/CtlCommand.h"

namespace vantel::ctl {

// vantelctl log: runs a digital unit's panel without a window, polling its
// inputs and writing the same CSV files and lines as the program, until
// SIGINT or SIGTERM arrives or the given time has passed.
int RunLog(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CtlCommand kLogCommand;

} // namespace vantel::ctl
