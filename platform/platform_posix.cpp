// The operating-system services on POSIX systems: directory search with opendir and
// the shared wild-card matcher, unique files with mkstemp.
#if !defined(_WIN32)

#include "platform/platform.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane::platform {

namespace {

bool isFolder(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

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
        found = !isFolder(folder + name);
    }
    ::closedir(dir);
    return found;
}

int createTempFile(const char* folder, const char* prefix, char* path, std::size_t pathSize)
{
    if (folder == nullptr || prefix == nullptr || path == nullptr) return 1;
    std::string name(folder);
    if (!name.empty() && name.back() != '/') name += '/';
    name += prefix;
    name += "XXXXXX";
    if (name.size() + 1 > pathSize) return 1; // refused: the caller's buffer is too small

    const int fd = ::mkstemp(&name[0]);
    if (fd < 0) return 1;
    ::close(fd);
    std::memcpy(path, name.c_str(), name.size() + 1);
    return 0;
}

} // namespace kelvane::platform

#endif
