#pragma once

#include "graph/LogHeader.h"
#include "platform/TextCodec.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace vantel {

// What the start of a log file says: its code page, its header and the time
// of its first line, so files can be checked and put in time order before
// any is read in full.
struct LogFileProbe {
    std::string path;
    std::uint64_t size = 0;
    std::string codePage;
    std::string header; // UTF-8, without the line end
    LogLayout layout;
    // Average length of the lines in the probed start, to foresee the lines
    // of the whole file; 0 when it holds no complete line.
    double bytesPerLine = 0;
    // Of the first data line; infinity for a file without one.
    double firstTime = std::numeric_limits<double>::infinity();
    // Empty when the file is one of ours; otherwise the sentence to show.
    std::string error;
};

// The header decides the code page: the preferred one first, then the other
// of CP932 and UTF-8.
LogFileProbe ProbeLogFile(const std::string& path, const TextCodec& preferred);

} // namespace vantel
