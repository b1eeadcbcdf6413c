#include "comm/link/FileTrace.h"

#include "comm/link/TraceHub.h"

namespace vantel {

FileTrace::~FileTrace()
{
    if (hubId_ != 0)
        TraceHub::process().detach(hubId_);
}

bool FileTrace::start(const std::string& path, std::int64_t maxMb)
{
    auto writer = std::make_shared<TraceFileWriter>();
    if (!writer->open(path, maxMb * TraceFileWriter::kBytesPerMb))
        return false;
    writer_ = writer;
    hubId_ = TraceHub::process().attach(std::move(writer));
    return true;
}

} // namespace vantel
