#include "platform/LockedAppend.h"

#include "platform/OwnedDescriptor.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vantel {

namespace {

// Another program holding the lock for longer than this costs the line,
// never the caller's thread.
constexpr auto kLockWait = std::chrono::milliseconds(500);
constexpr auto kLockRetry = std::chrono::milliseconds(1);

// flock belongs to the open file description, so it also keeps apart two
// writers inside this process (fcntl record locks would not).
bool lockExclusive(int fd)
{
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kLockRetry);
    }
    return true;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

bool AppendLocked(const std::string& path, std::string_view headerWhenEmpty, std::string_view bytes)
{
    const OwnedDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    if (file.get() < 0 || !lockExclusive(file.get()))
        return false;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        return false;
    std::string out;
    if (info.st_size == 0)
        out.append(headerWhenEmpty);
    out.append(bytes);
    if (writeAll(file.get(), out))
        return true;
    // Leave the file as it was rather than with half a line in it; when even
    // that fails there is nothing left to try.
    static_cast<void>(::ftruncate(file.get(), info.st_size) == 0);
    return false;
}

} // namespace vantel
