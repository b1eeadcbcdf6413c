#include "platform/SerialPort.h"

#include "platform/SystemError.h"
#include "platform/WakeEvent.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace vantel {

namespace {

constexpr int kWriteBaseMs = 1000;
constexpr int kWritePerByteMs = 10;

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

int LastError()
{
    return SystemErrorFromErrno(errno);
}

// Raw bytes both ways: no echo, no line editing, no translation of the
// terminator byte 0xC8 or of CR/LF. One byte satisfies a read, so an empty
// device reads as "would block" and a hung-up one as end of file.
int MakeRaw(int fd)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        return LastError();
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &settings) != 0 ? LastError() : 0;
}

} // namespace

std::string ResolveComPath(int number)
{
    const std::string variable = "VANTEL_COM" + std::to_string(number);
    if (const char* path = std::getenv(variable.c_str()); path != nullptr && *path != '\0')
        return path;
    for (const char* stem : {"/dev/ttyACM", "/dev/ttyUSB"}) {
        const std::string path = stem + std::to_string(number - 1);
        if (number > 0 && Exists(path))
            return path;
    }
    return {};
}

SerialPort::~SerialPort()
{
    close();
}

int SerialPort::open(int number)
{
    const std::string path = ResolveComPath(number);
    if (path.empty()) {
        close();
        return SystemError::FileNotFound;
    }
    return openPath(path);
}

int SerialPort::openPath(const std::string& path)
{
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return LastError();
    // Exclusive, as the port was: a second opener is refused.
    int result = ::flock(fd, LOCK_EX | LOCK_NB) != 0 ? SystemError::AccessDenied : 0;
    if (result == 0)
        result = MakeRaw(fd);
    if (result != 0) {
        ::close(fd);
        return result;
    }
    fd_ = fd;
    return 0;
}

void SerialPort::close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

StreamRead SerialPort::readAvailable(std::span<std::uint8_t> into)
{
    // End of file on a tty is a hang-up: the device is gone.
    return ReadWithoutWaiting(
        [this](std::span<std::uint8_t> buffer) { return ::read(fd_, buffer.data(), buffer.size()); }, into,
        SystemError::DeviceRemoved, SystemErrorFromErrno);
}

int SerialPort::write(std::span<const std::uint8_t> bytes)
{
    using Steady = std::chrono::steady_clock;
    const auto deadline =
        Steady::now() + std::chrono::milliseconds(kWriteBaseMs + kWritePerByteMs * static_cast<int>(bytes.size()));
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return LastError();
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Steady::now()).count();
        pollfd out{fd_, POLLOUT, 0};
        if (left <= 0 || ::poll(&out, 1, static_cast<int>(left)) == 0)
            return SystemError::Timeout;
    }
    return 0;
}

StreamWait SerialPort::waitReadable(const WakeEvent& wake, int timeoutMs)
{
    return wake.waitWithDescriptor(fd_, timeoutMs);
}

} // namespace vantel
