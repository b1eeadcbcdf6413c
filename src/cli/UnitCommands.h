#pragma once

#include "cli/CtlCommand.h"

namespace vantel::ctl {

// vantelctl probe / read / write: talk to one unit through the program's own
// channels and workers, with the time-outs the program uses for its model.
int RunProbe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunRead(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunWrite(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CtlCommand kProbeCommand;
extern const CtlCommand kReadCommand;
extern const CtlCommand kWriteCommand;

} // namespace vantel::ctl
