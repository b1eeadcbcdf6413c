#pragma once

#include "CpuUsage.h"
#include "platform/Ticker.h"

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace vantel::bench {

// The floor of one tick thread per panel: as many bare tickers, ticking
// nothing, for as long. Returns their CPU time in seconds.
inline double BareTickerCpuSeconds(int count, std::chrono::seconds duration)
{
    std::vector<std::unique_ptr<Ticker>> tickers;
    const rusage before = OwnUsage();
    for (int i = 0; i < count; ++i) {
        tickers.push_back(std::make_unique<Ticker>());
        tickers.back()->start([] {});
    }
    std::this_thread::sleep_for(duration);
    for (auto& ticker : tickers)
        ticker->stop();
    return CpuSeconds(OwnUsage()) - CpuSeconds(before);
}

} // namespace vantel::bench
