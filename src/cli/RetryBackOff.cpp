#include "cli/RetryBackOff.h"

#include <algorithm>

namespace vantel::ctl {

std::int64_t RetryBackOff::failedAt(std::int64_t nowMs)
{
    const std::int64_t wait = nextWaitMs_;
    nextWaitMs_ = std::min(wait * 2, kLongestWaitMs);
    return nowMs + wait;
}

} // namespace vantel::ctl
