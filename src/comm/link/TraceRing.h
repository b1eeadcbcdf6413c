#pragma once

#include "comm/link/TraceSink.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace vantel {

// The last `capacity` records, for the trace window. When full the oldest
// record goes and is counted. Each record gets a serial number so a reader
// can fetch what came after the last one it saw, in one batch.
class TraceRing final : public TraceSink {
public:
    static constexpr std::size_t kDefaultCapacity = 100000;

    explicit TraceRing(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

    void record(const TraceRecord& record) override;

    struct Batch {
        std::vector<TraceRecord> records;
        std::uint64_t next = 0;    // the serial number to ask for next time
        std::uint64_t dropped = 0; // records dropped from the ring since it was made or cleared
    };
    // The records numbered `from` on that are still held (older ones dropped).
    Batch since(std::uint64_t from) const;
    void clear();
    std::size_t size() const;
    std::uint64_t dropped() const;

private:
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::deque<TraceRecord> records_;
    std::uint64_t firstSerial_ = 0; // serial number of records_.front()
    std::uint64_t dropped_ = 0;
};

} // namespace vantel
