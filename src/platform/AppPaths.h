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

// The paths of a run: with a list named on the command line (`listFile` not
// empty) that list, and its folder as the default log folder, the place of
// the program's own list; nothing is created then. Otherwise DefaultAppPaths().
AppPaths AppPathsForList(const std::string& listFile);

// Folder of a path with a trailing "/", as the log folder is kept.
std::string WithTrailingSlash(std::string folder);

} // namespace vantel
