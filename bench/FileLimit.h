#pragma once

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace vantel::bench {

// Sockets on both sides plus log files and pipes; the soft limit is often 1024.
inline void RaiseFileLimit(int units)
{
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    const rlim_t wanted = static_cast<rlim_t>(units) * 4 + 256;
    if (limit.rlim_cur >= wanted)
        return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, limit.rlim_max);
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur < wanted)
        std::fprintf(stderr, "warning: open-file limit %lu is below the %lu this run needs\n",
                     static_cast<unsigned long>(limit.rlim_cur), static_cast<unsigned long>(wanted));
}

} // namespace vantel::bench
