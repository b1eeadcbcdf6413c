#pragma once

#include "panels/framework/PanelLink.h"

#include <atomic>
#include <functional>

namespace vantel::test {

// A link that talks to nothing and counts what the close did with it.
class CountingLink : public PanelLink {
public:
    void stop() override
    {
        ++stops;
        if (onStop)
            onStop();
    }
    void release() override
    {
        // A link is released only after it was stopped.
        releasedAfterStop = releasedAfterStop.load() || stops.load() > 0;
        ++releases;
    }

    std::function<void()> onStop;
    std::atomic<int> stops{0};
    std::atomic<int> releases{0};
    std::atomic<bool> releasedAfterStop{false};
};

} // namespace vantel::test
