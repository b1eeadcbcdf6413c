#pragma once

namespace vantel {

// Channel errors keep the Winsock numbering the users and the panels know
// ("code : 10061" and friends), whatever the host system's errno values are.
namespace WinsockError {
inline constexpr int HostNotResolvable = 3; // empty or unknown host name
inline constexpr int Interrupted = 10004;
inline constexpr int BadDescriptor = 10009;
inline constexpr int AccessDenied = 10013;
inline constexpr int BadAddress = 10014;
inline constexpr int InvalidArgument = 10022;
inline constexpr int TooManySockets = 10024;
inline constexpr int WouldBlock = 10035;
inline constexpr int InProgress = 10036;
inline constexpr int Already = 10037;
inline constexpr int NotSocket = 10038;
inline constexpr int MessageTooLong = 10040;
inline constexpr int AddressFamilyNotSupported = 10047;
inline constexpr int AddressInUse = 10048;
inline constexpr int AddressNotAvailable = 10049;
inline constexpr int NetDown = 10050;
inline constexpr int NetUnreachable = 10051;
inline constexpr int NetReset = 10052;
inline constexpr int ConnectionAborted = 10053;
inline constexpr int ConnectionReset = 10054;
inline constexpr int NoBufferSpace = 10055;
inline constexpr int IsConnected = 10056;
inline constexpr int NotConnected = 10057;
inline constexpr int Shutdown = 10058;
inline constexpr int TimedOut = 10060;
inline constexpr int ConnectionRefused = 10061;
inline constexpr int HostDown = 10064;
inline constexpr int HostUnreachable = 10065;
// The peer closed the connection in order (WSAEDISCON).
inline constexpr int Disconnected = 10101;
} // namespace WinsockError

// The one translation of a POSIX errno into the Winsock code shown to users.
// Unknown values get the Winsock base added, as Winsock itself numbers them,
// so a failure is never reported as 0 nor mistaken for the host code 3.
int WinsockErrorFromErrno(int err);

} // namespace vantel
