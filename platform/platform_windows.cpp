// The operating-system services on Windows: directory search with FindFirstFileA and
// FindNextFileA, unique files created with CreateFileA. Both '\' and '/' separate
// folders, as everywhere on Windows, and "C:name" names a file in the current folder
// of drive C.
#if defined(_WIN32)

#include "platform/platform.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace kelvane::platform {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Where the file name of a path starts: after its last separator, or after a drive
// letter and its colon ("C:egm96.grd").
std::size_t fileNameStart(const std::string& path)
{
    const std::size_t last = path.find_last_of("\\/");
    if (last != std::string::npos) return last + 1;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) return 2;
    return 0;
}

std::string lowerCase(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// FindFirstFileA also matches a pattern against the short 8.3 name of a file and lets
// a trailing '?' match nothing; the shared matcher decides on the long name. Windows
// file names ignore case, and so does this comparison: a file that opening the name
// would find is found here too.
bool matchesFileName(const std::string& lowerPattern, const char* name)
{
    return wildcardMatch(lowerPattern.c_str(), lowerCase(name).c_str());
}

// A letter or digit for a unique name; lower case only, since "grdA" and "grda" are
// one file on Windows.
char uniqueChar(unsigned long long& state)
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    // One step of a 64-bit linear congruential generator (Knuth's MMIX constants).
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return alphabet[(state >> 33) % (sizeof alphabet - 1)];
}

// Characters that make a scratch name unique; as many as mkstemp's "XXXXXX".
constexpr int kUniqueChars = 6;
// Names tried before giving up when each one is taken already.
constexpr int kUniqueAttempts = 1000;

} // namespace

bool anyFileMatches(const char* pattern)
{
    if (pattern == nullptr) return false;
    const std::string full(pattern);
    const std::size_t nameStart = fileNameStart(full);
    if (nameStart == full.size()) return false; // no file name part
    const std::string namePattern = lowerCase(full.substr(nameStart));

    WIN32_FIND_DATAA entry;
    const HANDLE search = ::FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    do {
        const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        found = !folder && matchesFileName(namePattern, entry.cFileName);
    } while (!found && ::FindNextFileA(search, &entry));
    ::FindClose(search);
    return found;
}

// The name is the folder, a separator when the folder lacks one (the kind it uses
// already, '\' when it has none), the prefix and six letters or digits, like mkstemp's
// names on POSIX systems; GetTempFileNameA would keep only three characters of the
// prefix and limits the path to MAX_PATH. CREATE_NEW makes the creation exclusive: a
// name that exists already is never reused, the next one is tried.
int createTempFile(const char* folder, const char* prefix, char* path, std::size_t pathSize)
{
    if (folder == nullptr || prefix == nullptr || path == nullptr) return 1;
    std::string name(folder);
    if (!name.empty() && !isSeparator(name.back()) && fileNameStart(name) != name.size()) {
        const std::size_t last = name.find_last_of("\\/");
        name += last == std::string::npos ? '\\' : name[last];
    }
    name += prefix;
    const std::size_t stem = name.size();
    name.append(kUniqueChars, 'x');
    if (name.size() + 1 > pathSize) return 1; // refused: the caller's buffer is too small

    unsigned long long state = ::GetTickCount64() ^ (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32) ^
                               reinterpret_cast<std::uintptr_t>(path);
    for (int attempt = 0; attempt < kUniqueAttempts; ++attempt) {
        for (int k = 0; k < kUniqueChars; ++k) name[stem + k] = uniqueChar(state);
        const HANDLE file = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
            std::memcpy(path, name.c_str(), name.size() + 1);
            return 0;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return 1;
    }
    return 1;
}

} // namespace kelvane::platform

#endif
