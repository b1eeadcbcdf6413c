#pragma once

#include "comm/worker/AnalogRequestHandler.h"
#include "comm/worker/DigitalRequestHandler.h"
#include "comm/worker/WorkerThread.h"

#include <utility>

namespace vantel {

// The worker thread of a unit channel: serves the channel's requests in the
// order they were posted. Declare it after the channel it serves, so that
// destruction quits and joins before the channel goes away.
template <typename Channel, typename Request> class UnitWorker {
public:
    explicit UnitWorker(Channel& channel) : thread_([&channel](Request& request) { Serve(channel, request); }) {}

    // Never waits; false once the worker has been told to quit.
    bool post(Request request) { return thread_.post(std::move(request)); }
    // Requests posted before still run, in order; later ones are refused.
    void quit() { thread_.quit(); }
    // After quit(): true once the requests posted before have been served,
    // waiting at most `limit`.
    bool finishWithin(std::chrono::milliseconds limit) { return thread_.finishWithin(limit); }
    // Quits and waits for the thread: the panel's close routine, before its view goes.
    void stop() { thread_.stop(); }

private:
    WorkerThread<Request> thread_;
};

using AnalogWorker = UnitWorker<CAnalogChannel, analog::Request>;
using DigitalWorker = UnitWorker<CDigitalChannel, digital::Request>;

} // namespace vantel
