#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace vantel {

// Values the main window shares with panels and the search, which may read or
// write them from their own threads.
struct AppState {
    std::atomic<int> commandLineTimeoutMs{0};     // 0: use the 3000 ms default
    std::atomic<std::uint32_t> adapterAddress{0}; // network byte order; sockets bind to it
    std::atomic<int> openPanelCount{0};
    std::atomic<int> listRefreshRequest{0}; // 2: the search added a unit

    static constexpr int kDefaultConnectTimeoutMs = 3000;
    int connectTimeoutMs() const
    {
        const int t = commandLineTimeoutMs.load();
        return t != 0 ? t : kDefaultConnectTimeoutMs;
    }
};

} // namespace vantel
