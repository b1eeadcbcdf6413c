#include "platform/StopSignals.h"

#include <atomic>
#include <csignal>

namespace vantel {
namespace {

// Lock-free, so the handler may set it.
std::atomic<bool> stopRaised{false};
static_assert(std::atomic<bool>::is_always_lock_free);

using Handler = void (*)(int);
Handler previousInterrupt = SIG_DFL;
Handler previousTerminate = SIG_DFL;

extern "C" void RaiseStop(int)
{
    stopRaised = true;
}

} // namespace

StopSignals::StopSignals()
{
    stopRaised = false;
    previousInterrupt = std::signal(SIGINT, RaiseStop);
    previousTerminate = std::signal(SIGTERM, RaiseStop);
}

StopSignals::~StopSignals()
{
    std::signal(SIGINT, previousInterrupt == SIG_ERR ? SIG_DFL : previousInterrupt);
    std::signal(SIGTERM, previousTerminate == SIG_ERR ? SIG_DFL : previousTerminate);
}

bool StopSignals::raised() const
{
    return stopRaised.load();
}

} // namespace vantel
