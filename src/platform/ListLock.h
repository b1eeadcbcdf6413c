#pragma once

#include <memory>
#include <string>

namespace vantel {

// An advisory lock that one writer of a unit list holds while it may save:
// the program for its whole run, `vantelctl add` while it adds. It lives in a
// file beside the list ("vantel.dat.lock"), not on the list itself, because
// every save renames a new file over the list and a lock on the old one
// would be lost with it. The lock file stays after release: removing it
// would let a late opener lock a file nobody else sees any more.
//
// The lock belongs to the process (flock on a descriptor that children do
// not inherit), so a writer that crashed or was killed never leaves a lock
// behind.
class ListLock {
public:
    enum class Outcome {
        Held,        // ours until the ListLock goes
        Busy,        // another process holds it
        Unavailable, // the lock file cannot be created: the folder is missing or
                     // read-only, so no one can save a list there either
    };

    // Tries once, without waiting. `holder` says who holds a busy lock
    // ("process 1234") when it can tell.
    static std::unique_ptr<ListLock> tryAcquire(const std::string& listPath, Outcome& outcome, std::string& holder);

    static std::string lockPathFor(const std::string& listPath) { return listPath + ".lock"; }

    ~ListLock();
    ListLock(const ListLock&) = delete;
    ListLock& operator=(const ListLock&) = delete;

private:
    explicit ListLock(int fd) : fd_(fd) {}
    int fd_;
};

} // namespace vantel
