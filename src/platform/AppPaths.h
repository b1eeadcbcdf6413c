#pragma once

#include <string>

namespace vantel {

// Where the unit list and the logs live by default: beside the program when
// it has a writable folder of its own (portable use), else in the user's
// configuration folder ($XDG_CONFIG_HOME/vantel, or ~/.config/vantel),
// created on demand.
struct AppPaths {
    std::string listFile;  // ".../vantel.dat"
    std::string logFolder; // always ends with "/"
};

AppPaths DefaultAppPaths();

// The same for a program at this path; empty when it is not known.
AppPaths AppPathsFor(const std::string& program);

// Folder of a path with a trailing "/", as the log folder is kept.
std::string WithTrailingSlash(std::string folder);

} // namespace vantel
