#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantel {

// Replaces the file at `path` with `bytes` so that a failure at any point
// leaves the previous file untouched: the bytes go to a temporary file in the
// same folder, are flushed to disk, and the temporary is renamed over the old.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Whole file contents, or nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

} // namespace vantel
