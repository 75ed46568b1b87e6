// The operating-system services on POSIX systems: directory search with opendir and
// the shared wild-card matcher, regular files checked with fstat on the opened
// descriptor, anonymous scratch files with mkstemp and unlink.
#if !defined(_WIN32)

#include "platform/platform.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane::platform {

namespace {

// The longest scratch file name createScratchFile makes, terminator excluded.
constexpr std::size_t kMaxScratchName = 255;

bool isRegularFile(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

long long modificationTime(const struct stat& st)
{
#if defined(__APPLE__)
    return static_cast<long long>(st.st_mtimespec.tv_sec) * 1000000000LL + st.st_mtimespec.tv_nsec;
#else
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
#endif
}

// Closes fd, keeping errno of the failure that made the caller give up.
void closeKeepingErrno(int fd)
{
    const int saved = errno;
    ::close(fd);
    errno = saved;
}

} // namespace

bool operator==(const FileStamp& a, const FileStamp& b)
{
    return a.size == b.size && a.modified == b.modified;
}

bool anyFileMatches(const char* pattern)
{
    if (pattern == nullptr) return false;
    const char* slash = std::strrchr(pattern, '/');
    const std::string folder = slash ? std::string(pattern, slash + 1) : std::string("./");
    const char* namePattern = slash ? slash + 1 : pattern;
    if (*namePattern == '\0') return false;

    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return false;
    bool found = false;
    while (!found) {
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) break;
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        if (!wildcardMatch(namePattern, name)) continue;
        found = isRegularFile(folder + name);
    }
    ::closedir(dir);
    return found;
}

std::FILE* openRegularFile(const char* path, FileStamp* stamp)
{
    if (path == nullptr) return nullptr;
    // O_NONBLOCK: opening a FIFO without a writer returns at once instead of waiting
    // for one; the descriptor is checked before anything is read from it.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        closeKeepingErrno(fd);
        return nullptr;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        closeKeepingErrno(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        closeKeepingErrno(fd);
        return nullptr;
    }
    if (stamp != nullptr) {
        stamp->size = static_cast<long long>(st.st_size);
        stamp->modified = modificationTime(st);
    }
    return file;
}

std::FILE* createScratchFile(const char* folder, const char* prefix)
{
    if (folder == nullptr || prefix == nullptr) return nullptr;
    std::string name(folder);
    if (!name.empty() && name.back() != '/') name += '/';
    name += prefix;
    name += "XXXXXX";
    if (name.size() > kMaxScratchName) return nullptr;

    // mkstemp creates the file with O_CREAT | O_EXCL and mode 0600: never an existing
    // file, never through a planted link. The name goes at once; the descriptor keeps
    // the file until it is closed, and the system frees it if the process dies.
    const int fd = ::mkstemp(&name[0]);
    if (fd < 0) return nullptr;
    if (::unlink(name.c_str()) != 0) {
        // A file whose name cannot be removed now would outlive a crash: give it up.
        closeKeepingErrno(fd);
        ::unlink(name.c_str());
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "w+b");
    if (file == nullptr) closeKeepingErrno(fd);
    return file;
}

} // namespace kelvane::platform

#endif
