#include "platform/AppPaths.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace vantel {
namespace fs = std::filesystem;
namespace {

// A bin folder is shared by every program of an installation (/usr/bin,
// ~/.local/bin): data never goes there, even where the user may write
// (root, a prefix in the home folder).
bool IsPortableFolder(const fs::path& folder)
{
    return folder.filename() != "bin" && ::access(folder.c_str(), W_OK) == 0;
}

} // namespace

std::string WithTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

AppPaths AppPathsFor(const std::string& program)
{
    const fs::path folder = fs::path(program).parent_path();
    // One list for the program and vantelctl when both sit in the folder.
    if (!program.empty() && IsPortableFolder(folder))
        return {(folder / "vantel.dat").string(), WithTrailingSlash(folder.string())};
    fs::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = fs::path(home) / ".config";
    else
        config = fs::temp_directory_path();
    const fs::path configFolder = config / "vantel";
    std::error_code ec;
    fs::create_directories(configFolder, ec);
    return {(configFolder / "vantel.dat").string(), WithTrailingSlash(configFolder.string())};
}

AppPaths AppPathsForList(const std::string& listFile)
{
    if (listFile.empty())
        return DefaultAppPaths();
    std::error_code ec;
    fs::path folder = fs::absolute(listFile, ec).parent_path();
    if (ec)
        folder = fs::path(listFile).parent_path();
    return {listFile, WithTrailingSlash(folder.empty() ? "." : folder.string())};
}

AppPaths DefaultAppPaths()
{
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    return AppPathsFor(ec ? std::string() : program.string());
}

} // namespace vantel
