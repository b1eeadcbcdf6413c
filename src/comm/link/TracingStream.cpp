#include "comm/link/TracingStream.h"

#include "comm/link/TraceMeaning.h"

#include <utility>

namespace vantel {

TracingStream::TracingStream(ByteStream& inner, StreamTrace& trace, Reads reads)
    : inner_(inner), trace_(trace), reads_(reads)
{
}

TracingStream::TracingStream(std::unique_ptr<ByteStream> inner, std::shared_ptr<StreamTrace> trace, Reads reads)
    : owned_(std::move(inner)), sharedTrace_(std::move(trace)), inner_(*owned_), trace_(*sharedTrace_), reads_(reads)
{
}

StreamRead TracingStream::readAvailable(std::span<std::uint8_t> into)
{
    const StreamRead read = inner_.readAvailable(into);
    if (read.count > 0 && reads_ == Reads::HoldReplies)
        trace_.received(into.first(read.count));
    // A unit channel's exchange says why its reply ended; the gateway's
    // receive thread has no exchange to say it.
    if (read.lost && reads_ == Reads::FramesByReader)
        trace_.event(LostMeaning(read.error));
    return read;
}

int TracingStream::write(std::span<const std::uint8_t> bytes)
{
    trace_.sent(bytes);
    const int error = inner_.write(bytes);
    // A unit channel's exchange says why it failed; the gateway link has no exchange.
    if (error != 0 && reads_ == Reads::FramesByReader)
        trace_.event(SendFailedMeaning(error));
    return error;
}

StreamWait TracingStream::waitReadable(const WakeEvent& wake, int timeoutMs)
{
    return inner_.waitReadable(wake, timeoutMs);
}

} // namespace vantel
