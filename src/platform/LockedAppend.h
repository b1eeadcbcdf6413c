#pragma once

#include <string>
#include <string_view>

namespace vantel {

// Appends `bytes` to the file at `path` under an exclusive write lock, so two
// writers of one file never interleave; readers that take no lock are not
// held up. The file is created when missing (its folder is not), and
// `headerWhenEmpty` goes first when the file is empty at that moment. The
// file is closed again before returning. False when the file cannot be
// opened, locked within a short wait, or written; a failed write is cut back
// so no partial line stays behind.
bool AppendLocked(const std::string& path, std::string_view headerWhenEmpty, std::string_view bytes);

} // namespace vantel
