#pragma once

#include "comm/link/TraceSink.h"

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace vantel {

// Appends each record to a file as one FormatTraceLine() line and flushes it
// at once, so a program that crashes leaves every record it traced. When the
// next line would take the file past `maxBytes`, the file becomes FILE.1
// (replacing an older FILE.1) and a new FILE begins: at most twice the limit
// on disk.
class TraceFileWriter final : public TraceSink {
public:
    static constexpr std::int64_t kDefaultMaxMb = 100;
    static constexpr std::int64_t kBytesPerMb = 1024 * 1024;

    TraceFileWriter() = default;
    ~TraceFileWriter() override;
    TraceFileWriter(const TraceFileWriter&) = delete;
    TraceFileWriter& operator=(const TraceFileWriter&) = delete;

    // Opens `path` for appending; false when it cannot be written.
    bool open(const std::string& path, std::int64_t maxBytes = kDefaultMaxMb * kBytesPerMb);
    void record(const TraceRecord& record) override;

    // Lines that could not be written (a full disk, a rotation that failed).
    std::uint64_t lostLines() const;
    static std::string RotatedPath(const std::string& path) { return path + ".1"; }

private:
    bool rotate();

    mutable std::mutex mutex_;
    std::string path_;
    std::int64_t maxBytes_ = 0;
    std::int64_t size_ = 0;
    std::FILE* file_ = nullptr;
    std::uint64_t lostLines_ = 0;
};

} // namespace vantel
