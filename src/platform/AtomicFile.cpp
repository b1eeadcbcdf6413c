#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vantel {
namespace {

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// mkstemp's six characters follow this marker.
constexpr std::string_view kTempMarker = ".saving-";
constexpr std::size_t kTempRandomLength = 6;

// A save that died between creating its temporary and renaming it left the
// temporary behind; nobody else is saving this file (its writers take the
// list lock), so whatever still matches the pattern is such a leftover.
void removeLeftoverTemporaries(const std::string& path)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    const std::string prefix = target.filename().string() + std::string(kTempMarker);
    std::error_code ec;
    for (fs::directory_iterator it(target.has_parent_path() ? target.parent_path() : fs::path("."), ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + kTempRandomLength && name.rfind(prefix, 0) == 0 && it->is_regular_file(ec))
            fs::remove(it->path(), ec);
    }
}

} // namespace

std::string AtomicTemporaryPattern(const std::string& path)
{
    return path + std::string(kTempMarker) + std::string(kTempRandomLength, 'X');
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    if (path.empty())
        return false;
    removeLeftoverTemporaries(path);
    std::string tmp = AtomicTemporaryPattern(path);
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return false;
    // Keep the permissions an existing list file had; new files get the usual 0644.
    struct stat st {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(tmp.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(tmp.c_str());
    return false;
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::string data;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return data;
}

} // namespace vantel
