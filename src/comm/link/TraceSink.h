#pragma once

#include "comm/link/TraceRecord.h"

namespace vantel {

// Where trace records go (the window's ring, the --trace file). Records
// arrive from every channel's worker, the gateway's receive thread and the
// search at once: implementations are thread-safe and never block for long.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void record(const TraceRecord& record) = 0;
};

} // namespace vantel
