#pragma once

#include "platform/ListLock.h"

#include <csignal>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantel::test {

// A child process that takes a list's lock as the program does and holds it
// until it is killed, as by a crash. Fork it while the test runs no threads.
class LockHolderProcess {
public:
    explicit LockHolderProcess(const std::string& listPath)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ListLock::Outcome outcome{};
            std::string holder;
            const auto lock = ListLock::tryAcquire(listPath, outcome, holder);
            const char held = lock ? 'y' : 'n';
            static_cast<void>(::write(ready[1], &held, 1));
            for (;;)
                ::pause();
        }
        char held = 0;
        holds_ = pid_ > 0 && ::read(ready[0], &held, 1) == 1 && held == 'y';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~LockHolderProcess() { kill(); }
    LockHolderProcess(const LockHolderProcess&) = delete;
    LockHolderProcess& operator=(const LockHolderProcess&) = delete;

    // True once the child has the lock.
    bool holds() const { return holds_; }
    pid_t pid() const { return pid_; }
    // SIGKILL, as a crash: nothing of the child's runs any more.
    void kill()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool holds_ = false;
};

} // namespace vantel::test
