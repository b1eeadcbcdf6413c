#pragma once

#include "SimChild.h"
#include "platform/TextCodec.h"
#include "registry/UnitList.h"

#include <filesystem>
#include <vector>

namespace vantel::bench {

// A whole list of simulated digital units (rows 8 and 22 in turn, two-byte
// and ASCII dialects; or the rows given) served by a child process, and a unit list naming them
// in a fresh temporary folder that also takes the logs. Construct it before
// any thread starts: it forks.
class SimFleet {
public:
    explicit SimFleet(int unitCount);
    // One unit per entry of `rows` (model rows of any kind).
    explicit SimFleet(std::vector<int> rows);
    ~SimFleet();
    SimFleet(const SimFleet&) = delete;
    SimFleet& operator=(const SimFleet&) = delete;

    const std::vector<int>& rows() const { return rows_; }
    SimChild& sims() { return sims_; }
    const std::filesystem::path& folder() const { return folder_; }
    const TextCodec& codec() const { return codec_; }
    UnitList& list() { return list_; }

private:
    std::vector<int> rows_;
    SimChild sims_;
    std::filesystem::path folder_;
    TextCodec codec_{"CP932"};
    UnitList list_;
};

} // namespace vantel::bench
