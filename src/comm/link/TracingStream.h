#pragma once

#include "comm/link/StreamTrace.h"
#include "platform/ByteStream.h"

#include <memory>

namespace vantel {

// A ByteStream that records what passes through it, in front of the real
// one. Writes are recorded as they go; bytes read are either held in the
// trace until the reply's meaning is known (HoldReplies: a unit channel,
// whose exchange layer ends each reply) or left to the reader, which cuts
// them into frames itself (FramesByReader: the gateway link, where a stream
// that goes away is recorded as an event).
class TracingStream final : public ByteStream {
public:
    enum class Reads { HoldReplies, FramesByReader };

    TracingStream(ByteStream& inner, StreamTrace& trace, Reads reads);
    // Owning the stream it decorates (the gateway link replaces whole streams).
    TracingStream(std::unique_ptr<ByteStream> inner, std::shared_ptr<StreamTrace> trace, Reads reads);

    // The stream it owned, when tracing ends under a running link.
    std::unique_ptr<ByteStream> release() { return std::move(owned_); }

    StreamRead readAvailable(std::span<std::uint8_t> into) override;
    int write(std::span<const std::uint8_t> bytes) override;
    StreamWait waitReadable(const WakeEvent& wake, int timeoutMs) override;

private:
    std::unique_ptr<ByteStream> owned_;
    std::shared_ptr<StreamTrace> sharedTrace_;
    ByteStream& inner_;
    StreamTrace& trace_;
    const Reads reads_;
};

} // namespace vantel
