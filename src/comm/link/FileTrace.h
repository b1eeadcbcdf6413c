#pragma once

#include "comm/link/TraceFileWriter.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vantel {

// --trace FILE: while it lives, every record of the process goes to FILE.
class FileTrace {
public:
    FileTrace() = default;
    ~FileTrace();
    FileTrace(const FileTrace&) = delete;
    FileTrace& operator=(const FileTrace&) = delete;

    // False when the file cannot be written; nothing is traced then.
    bool start(const std::string& path, std::int64_t maxMb);
    std::uint64_t lostLines() const { return writer_ ? writer_->lostLines() : 0; }

private:
    std::shared_ptr<TraceFileWriter> writer_;
    int hubId_ = 0;
};

} // namespace vantel
