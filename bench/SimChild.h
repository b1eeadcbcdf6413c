#pragma once

#include <cstdint>
#include <span>
#include <sys/types.h>
#include <vector>

namespace vantel::bench {

// Simulated units served by a child process, so that their CPU time and
// memory are counted apart from the program's. Construct it before the
// program starts any thread: it forks.
class SimChild {
public:
    struct Report {
        double cpuSeconds = 0;      // user + system while measuring
        std::uint64_t commands = 0; // commands the units received while measuring
        long peakMemoryKb = 0;      // ru_maxrss of the child
    };

    // One unit per entry of `rows`, each on its own loopback port. Exits
    // the process when the child cannot start them.
    explicit SimChild(std::span<const int> rows);
    ~SimChild();
    SimChild(const SimChild&) = delete;
    SimChild& operator=(const SimChild&) = delete;

    const std::vector<std::uint16_t>& ports() const { return ports_; }
    // The measured span starts now, resp. ends now.
    void startMeasuring();
    void stopMeasuring();
    // While measuring: the first `count` units switch off (they refuse
    // connections and drop the open ones) or back on.
    void switchUnits(bool on, std::uint32_t count);
    // Ends the child and returns what it measured; call once.
    Report finish();

private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::vector<std::uint16_t> ports_;
};

} // namespace vantel::bench
