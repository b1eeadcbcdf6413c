#include "platform/ListLock.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace vantel {
namespace {

// The holder writes its process id into the lock file, only so that a refused
// writer can name it; the lock itself is the flock.
std::string readHolder(int fd)
{
    char buffer[32] = {};
    const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
    std::string pid(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    while (!pid.empty() && (pid.back() == '\n' || pid.back() == '\0'))
        pid.pop_back();
    return pid.empty() ? std::string() : "process " + pid;
}

// A holder that could not be written only leaves a refused writer's message
// without the process id; the lock holds either way.
bool writeHolder(int fd)
{
    const std::string pid = std::to_string(::getpid()) + "\n";
    return ::ftruncate(fd, 0) == 0 && ::pwrite(fd, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
}

} // namespace

std::unique_ptr<ListLock> ListLock::tryAcquire(const std::string& listPath, Outcome& outcome, std::string& holder)
{
    holder.clear();
    const int fd = ::open(lockPathFor(listPath).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        outcome = Outcome::Unavailable;
        return nullptr;
    }
    int result;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        outcome = errno == EWOULDBLOCK ? Outcome::Busy : Outcome::Unavailable;
        if (outcome == Outcome::Busy)
            holder = readHolder(fd);
        ::close(fd);
        return nullptr;
    }
    writeHolder(fd);
    outcome = Outcome::Held;
    return std::unique_ptr<ListLock>(new ListLock(fd));
}

ListLock::~ListLock()
{
    // Closing the last descriptor releases the flock.
    ::close(fd_);
}

} // namespace vantel
