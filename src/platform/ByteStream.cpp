#include "platform/ByteStream.h"

#include <cerrno>

namespace vantel {

StreamRead ReadWithoutWaiting(const std::function<ssize_t(std::span<std::uint8_t>)>& readOnce,
                              std::span<std::uint8_t> into, int endCode, int (*codeOf)(int err))
{
    StreamRead result;
    for (;;) {
        const ssize_t got = readOnce(into);
        if (got > 0) {
            result.count = static_cast<std::size_t>(got);
            return result;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return result;
        result.error = got == 0 ? endCode : codeOf(errno);
        result.lost = true;
        return result;
    }
}

} // namespace vantel
