#pragma once

#include <filesystem>

namespace vantel::bench {

// Sockets on both sides plus log files and pipes; the soft limit is often
// 1024. Raises it for `units` units, or warns.
void RaiseFileLimit(int units);

// Data lines in every log file of the folder (each file starts with its header).
long LoggedLines(const std::filesystem::path& folder);

// A new empty folder under the system's temporary folder.
std::filesystem::path MakeScratchFolder(const char* prefix);

} // namespace vantel::bench
