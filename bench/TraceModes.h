#pragma once

#include "comm/link/TraceSink.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace vantel::bench {

// The ways a benchmark runs a measurement again with the trace: off (the
// same as untraced: the rerun shows the noise), to a file as --trace writes
// it, and to the trace window's ring.
struct TraceMode {
    const char* name;
    std::shared_ptr<TraceSink> sink; // none: off
};

// The file goes into `folder`.
std::vector<TraceMode> TraceModes(const std::filesystem::path& folder);

// The mode's sink attached to the process's trace while it lives.
class TracedRun {
public:
    explicit TracedRun(const TraceMode& mode);
    ~TracedRun();
    TracedRun(const TracedRun&) = delete;
    TracedRun& operator=(const TracedRun&) = delete;

private:
    int id_ = 0;
};

} // namespace vantel::bench
