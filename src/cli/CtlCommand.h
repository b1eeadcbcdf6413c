#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace vantel::ctl {

// Exit codes every command keeps to, so scripts can tell them apart.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1; // the unit, the list or the input said no
inline constexpr int kExitUsage = 2;   // the command line itself is wrong

struct CtlCommand {
    std::string_view name;
    std::string_view usage;
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

} // namespace vantel::ctl
