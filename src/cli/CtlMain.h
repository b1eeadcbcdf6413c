#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vantel::ctl {

// The whole of vantelctl after the program name: picks the command, or
// answers --help and --version. Returns the exit code.
int RunVantelctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vantel::ctl
