#pragma once

#include "cli/CtlCommand.h"

namespace vantel::ctl {

// vantelctl search: finds units like the search dialog, prints them and can
// add one with the proposed name.
int RunSearch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CtlCommand kSearchCommand;

} // namespace vantel::ctl
