#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantel {

// Replaces the file at `path` with `bytes` so that a failure at any point
// leaves the previous file untouched: the bytes go to a temporary file in the
// same folder, are flushed to disk, and the temporary is renamed over the old.
// Temporaries that an earlier save left behind when it died are removed
// first, so one writer at a time may save a given path.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// The name mkstemp fills in for the temporary of `path`: "vantel.dat.saving-XXXXXX".
std::string AtomicTemporaryPattern(const std::string& path);

// Whole file contents, or nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

} // namespace vantel
