#pragma once

#include "graph/CanvasTypes.h"
#include "graph/LECanvas.h"
#include "graph/LogHeader.h"
#include "platform/TextCodec.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantel {

struct LogLoadRequest {
    std::vector<std::string> files;
    // Where the canvas that receives the traces sits in its window.
    PixelRect placement{0, 0, 700, 400};
    // Seconds since the epoch; lines outside are left out.
    std::optional<double> from;
    std::optional<double> to;
    // Display names of the columns to trace (ColumnDisplayName); empty: all.
    std::vector<std::string> columns;
    // Samples kept over all traces together; the oldest lines go beyond it.
    std::size_t sampleBudget = 10'000'000;
};

struct LogLoadOutcome {
    // Null when nothing could be loaded; `error` then says why.
    std::shared_ptr<LECanvas> canvas;
    std::string error;
    bool cancelled = false;
    // One per series of the canvas, in series order.
    std::vector<LogColumn> columns;
    // The files read, in time order.
    std::vector<std::string> files;
    // What was skipped or left out, one sentence each, for the user.
    std::vector<std::string> notes;
    long lines = 0;
    long truncatedLines = 0;
    long badLines = 0;
    // Typical time between lines; pauses over three of them are drawn as gaps.
    double samplePeriod = 0;
};

// Called now and then with the bytes read so far and the bytes of all files.
using LogLoadProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Reads the CSV logs of one unit (every panel class, CP932 or UTF-8, the
// preferred code page tried first) into a canvas, one trace per column, as
// one time line in time order. Runs on any thread; `cancel` stops it soon.
LogLoadOutcome LoadLogs(const LogLoadRequest& request, const std::atomic<bool>& cancel,
                        const LogLoadProgress& progress = {}, const TextCodec& preferred = FileCodec());

} // namespace vantel
