#pragma once

#include <string>

namespace vantel {

// Where the unit list and the logs live by default: beside the program when
// its folder is writable (portable use), else in the user's configuration
// folder ($XDG_CONFIG_HOME/vantel, or ~/.config/vantel), created on demand.
struct AppPaths {
    std::string listFile;  // ".../vantel.dat"
    std::string logFolder; // always ends with "/"
};

AppPaths DefaultAppPaths();

// Folder of a path with a trailing "/", as the log folder is kept.
std::string WithTrailingSlash(std::string folder);

} // namespace vantel
