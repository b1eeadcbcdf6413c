#include "platform/WakeEvent.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace vantel {

namespace {

// poll() that survives signals without stretching the total wait.
int PollAll(pollfd* fds, nfds_t count, int timeoutMs)
{
    using Steady = std::chrono::steady_clock;
    const auto deadline = Steady::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Steady::now()).count();
            wait = left > 0 ? static_cast<int>(left) : 0;
        }
        const int ready = ::poll(fds, count, wait);
        if (ready >= 0 || errno != EINTR)
            return ready;
    }
}

} // namespace

WakeEvent::WakeEvent() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (fd_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

WakeEvent::~WakeEvent()
{
    ::close(fd_);
}

void WakeEvent::signal() const
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(fd_, &one, sizeof one);
}

void WakeEvent::clear() const
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto taken = ::read(fd_, &count, sizeof count);
}

bool WakeEvent::waitFor(int timeoutMs) const
{
    pollfd event{fd_, POLLIN, 0};
    return PollAll(&event, 1, timeoutMs) > 0;
}

StreamWait WakeEvent::waitWithDescriptor(int fd, int timeoutMs) const
{
    pollfd fds[2] = {{fd_, POLLIN, 0}, {fd, POLLIN, 0}};
    const int ready = PollAll(fds, 2, timeoutMs);
    if (ready > 0 && fds[0].revents != 0)
        return StreamWait::Woken;
    if (ready > 0)
        return StreamWait::Readable;
    // A failing poll is left to the next read to report.
    return ready == 0 ? StreamWait::TimedOut : StreamWait::Readable;
}

} // namespace vantel
