#pragma once

namespace vantel {

// Serial port failures keep the system error numbering of the original
// platform, so "接続エラー : 2" means what it always meant.
namespace SystemError {
inline constexpr int InvalidFunction = 1; // not a serial device
inline constexpr int FileNotFound = 2;    // no such COM port
inline constexpr int AccessDenied = 5;    // the port is open elsewhere
inline constexpr int DeviceRemoved = 22;  // the device went away (unplugged)
inline constexpr int GeneralFailure = 31;
inline constexpr int Timeout = 121;
} // namespace SystemError

// The one translation of a POSIX errno from a serial device.
int SystemErrorFromErrno(int err);

} // namespace vantel
