#include "comm/link/TraceFileWriter.h"

#include "comm/link/TraceLine.h"

#include <filesystem>
#include <system_error>

namespace vantel {

TraceFileWriter::~TraceFileWriter()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

bool TraceFileWriter::open(const std::string& path, std::int64_t maxBytes)
{
    const std::lock_guard lock(mutex_);
    if (file_ != nullptr)
        std::fclose(file_);
    path_ = path;
    maxBytes_ = maxBytes;
    file_ = std::fopen(path.c_str(), "ab");
    if (file_ == nullptr)
        return false;
    std::error_code error;
    const auto existing = std::filesystem::file_size(path, error);
    size_ = error ? 0 : static_cast<std::int64_t>(existing);
    return true;
}

bool TraceFileWriter::rotate()
{
    std::fclose(file_);
    std::error_code error;
    std::filesystem::rename(path_, RotatedPath(path_), error);
    // Whether or not the rename worked, a file that keeps growing past the
    // limit is worse than one truncated: start afresh.
    file_ = std::fopen(path_.c_str(), error ? "wb" : "ab");
    size_ = 0;
    return file_ != nullptr;
}

void TraceFileWriter::record(const TraceRecord& record)
{
    const std::string line = FormatTraceLine(record);
    const std::lock_guard lock(mutex_);
    const auto length = static_cast<std::int64_t>(line.size());
    if (file_ != nullptr && size_ > 0 && size_ + length > maxBytes_ && !rotate()) {
        ++lostLines_;
        return;
    }
    if (file_ == nullptr || std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fflush(file_) != 0) {
        ++lostLines_;
        return;
    }
    size_ += length;
}

std::uint64_t TraceFileWriter::lostLines() const
{
    const std::lock_guard lock(mutex_);
    return lostLines_;
}

} // namespace vantel
