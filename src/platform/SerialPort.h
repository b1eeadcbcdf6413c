#pragma once

#include "platform/ByteStream.h"

#include <string>

namespace vantel {

// The device of COM port `number`: the path in the environment variable
// VANTEL_COM<number> when it is set, else the first of /dev/ttyACM<number-1>
// and /dev/ttyUSB<number-1> that exists; empty when there is none.
std::string ResolveComPath(int number);

// A serial device opened exclusively in raw mode, its speed and line
// settings left as they are. Errors are system codes (platform/SystemError.h);
// a device that goes away (unplugged, or a pseudo-terminal whose other side
// closed) reads as lost with SystemError::DeviceRemoved.
class SerialPort final : public ByteStream {
public:
    SerialPort() = default;
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens COM port `number`; 0 or a system code.
    int open(int number);
    int openPath(const std::string& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    StreamRead readAvailable(std::span<std::uint8_t> into) override;
    // Gives up with SystemError::Timeout when the device takes more than
    // 1000 ms plus 10 ms a byte.
    int write(std::span<const std::uint8_t> bytes) override;
    StreamWait waitReadable(const WakeEvent& wake, int timeoutMs) override;

private:
    int fd_ = -1;
};

} // namespace vantel
