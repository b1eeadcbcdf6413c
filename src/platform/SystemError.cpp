#include "platform/SystemError.h"

#include <cerrno>

namespace vantel {

int SystemErrorFromErrno(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return SystemError::FileNotFound;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EAGAIN:
        return SystemError::AccessDenied;
    case EIO:
    case ENXIO:
    case ENODEV:
        return SystemError::DeviceRemoved;
    case ENOTTY:
        return SystemError::InvalidFunction;
    case ETIMEDOUT:
        return SystemError::Timeout;
    default:
        return SystemError::GeneralFailure;
    }
}

} // namespace vantel
