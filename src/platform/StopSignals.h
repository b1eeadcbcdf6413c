#pragma once

namespace vantel {

// While it exists, SIGINT and SIGTERM no longer end the process but ask a
// long command-line run to stop, so it can close its files and units first.
// The previous handlers come back when it goes. One at a time.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // True once either signal has arrived.
    bool raised() const;
};

} // namespace vantel
