#include "platform/BoundedFileRead.h"

#include "platform/OwnedDescriptor.h"
#include "platform/PlatformTexts.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantel {
namespace {

BoundedRead Unreadable(std::string reason)
{
    return {BoundedRead::Status::Unreadable, {}, std::move(reason)};
}

} // namespace

BoundedRead ReadRegularFile(const std::string& path, std::size_t maxBytes)
{
    const OwnedDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENOENT)
            return {};
        return Unreadable(std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        return Unreadable(std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        return Unreadable(kIsFolder);
    if (!S_ISREG(info.st_mode))
        return Unreadable(kNotRegularFile);
    const std::string tooLarge = LargerThanText(maxBytes);
    if (static_cast<std::size_t>(info.st_size) > maxBytes)
        return Unreadable(tooLarge);
    BoundedRead read{BoundedRead::Status::Read, {}, {}};
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got == 0)
            return read;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Unreadable(std::strerror(errno));
        }
        read.bytes.append(buffer, static_cast<std::size_t>(got));
        // A file that grows while it is read is no list either.
        if (read.bytes.size() > maxBytes)
            return Unreadable(tooLarge);
    }
}

} // namespace vantel
