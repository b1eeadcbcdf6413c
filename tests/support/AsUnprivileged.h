#pragma once

#include <filesystem>
#include <functional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantel::test {

// The user "nobody", whom file permissions bind even where the tests run as root.
inline constexpr uid_t kNobody = 65534;

// Runs `check` in a child process as "nobody" (as the test's own user when
// that is not root) and returns its result: 0 for passed, anything else for
// failed. Fork it while the test runs no threads; `check` only looks at
// files, and its result travels as the exit code.
inline int AsUnprivileged(const std::function<int()>& check)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(100);
        ::_exit(check());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Lets "nobody" into `folder` and gives it `file`, so that only the file's
// own mode bits decide what the child may do with it.
inline void HandToNobody(const std::filesystem::path& folder, const std::filesystem::path& file)
{
    std::filesystem::permissions(folder, std::filesystem::perms::all);
    if (::geteuid() == 0)
        static_cast<void>(::chown(file.c_str(), kNobody, kNobody));
}

} // namespace vantel::test
