#include "platform/AppPaths.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace vantel {
namespace fs = std::filesystem;

std::string WithTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

AppPaths DefaultAppPaths()
{
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && ::access(program.parent_path().c_str(), W_OK) == 0) {
        fs::path list = program;
        list.replace_extension(".dat");
        return {list.string(), WithTrailingSlash(program.parent_path().string())};
    }
    fs::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = fs::path(home) / ".config";
    else
        config = fs::temp_directory_path();
    const fs::path folder = config / "vantel";
    fs::create_directories(folder, ec);
    return {(folder / "vantel.dat").string(), WithTrailingSlash(folder.string())};
}

} // namespace vantel
