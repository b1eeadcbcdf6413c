#pragma once

#include <cstddef>
#include <string>

namespace vantel {

// What reading a file that the user points at found.
struct BoundedRead {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    std::string bytes;  // when Read
    std::string reason; // when Unreadable: why, in words for the user
};

// Reads a regular file of at most `maxBytes`. Never blocks on the open (a
// FIFO or a device is refused, not waited for) and never takes in more than
// `maxBytes` + 1 bytes, so /dev/zero or a huge file costs nothing. Only a
// path that does not exist is Missing; a folder, a special file, a file that
// cannot be opened or read, or one larger than `maxBytes` is Unreadable.
BoundedRead ReadRegularFile(const std::string& path, std::size_t maxBytes);

} // namespace vantel
