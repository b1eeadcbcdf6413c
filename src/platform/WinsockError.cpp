#include "platform/WinsockError.h"

#include <cerrno>

namespace vantel {

namespace {

// Winsock numbers its codes from the BSD errno values plus this base.
constexpr int kWinsockBase = 10000;

struct ErrnoMapping {
    int posix;
    int winsock;
};

constexpr ErrnoMapping kErrnoTable[] = {
    {EINTR, WinsockError::Interrupted},
    {EBADF, WinsockError::BadDescriptor},
    {EACCES, WinsockError::AccessDenied},
    {EPERM, WinsockError::AccessDenied},
    {EFAULT, WinsockError::BadAddress},
    {EINVAL, WinsockError::InvalidArgument},
    {EMFILE, WinsockError::TooManySockets},
    {ENFILE, WinsockError::TooManySockets},
    {EAGAIN, WinsockError::WouldBlock},
#if EWOULDBLOCK != EAGAIN
    {EWOULDBLOCK, WinsockError::WouldBlock},
#endif
    {EINPROGRESS, WinsockError::InProgress},
    {EALREADY, WinsockError::Already},
    {ENOTSOCK, WinsockError::NotSocket},
    {EMSGSIZE, WinsockError::MessageTooLong},
    {EAFNOSUPPORT, WinsockError::AddressFamilyNotSupported},
    {EADDRINUSE, WinsockError::AddressInUse},
    {EADDRNOTAVAIL, WinsockError::AddressNotAvailable},
    {ENETDOWN, WinsockError::NetDown},
    {ENETUNREACH, WinsockError::NetUnreachable},
    {ENETRESET, WinsockError::NetReset},
    {ECONNABORTED, WinsockError::ConnectionAborted},
    {ECONNRESET, WinsockError::ConnectionReset},
    {EPIPE, WinsockError::ConnectionReset},
    {ENOBUFS, WinsockError::NoBufferSpace},
    {ENOMEM, WinsockError::NoBufferSpace},
    {EISCONN, WinsockError::IsConnected},
    {ENOTCONN, WinsockError::NotConnected},
    {ESHUTDOWN, WinsockError::Shutdown},
    {ETIMEDOUT, WinsockError::TimedOut},
    {ECONNREFUSED, WinsockError::ConnectionRefused},
    {EHOSTDOWN, WinsockError::HostDown},
    {EHOSTUNREACH, WinsockError::HostUnreachable},
};

} // namespace

int WinsockErrorFromErrno(int err)
{
    for (const ErrnoMapping& mapping : kErrnoTable) {
        if (mapping.posix == err) {
            return mapping.winsock;
        }
    }
    return kWinsockBase + err;
}

} // namespace vantel
