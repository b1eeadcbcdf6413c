#pragma once

#include <chrono>
#include <thread>

namespace vantel::test {

// Waits for something a worker thread does; the deadline only keeps a broken
// build from hanging.
template <typename Done> bool Eventually(Done done)
{
    using namespace std::chrono_literals;
    const auto giveUp = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

} // namespace vantel::test
