#pragma once

namespace vantel {

// The failure code of file operations that have no finer cause to report
// (the unit list's save, a log line that could not be written).
inline constexpr int kGeneralFailure = static_cast<int>(0x80004005u);

} // namespace vantel
