// The operating-system services on Windows: directory search with FindFirstFileW and
// FindNextFileW and the shared wild-card matcher, regular files checked on the opened
// handle, scratch files created with CREATE_NEW and FILE_FLAG_DELETE_ON_CLOSE. Both
// '\' and '/' separate folders, and "C:name" names a file in the current folder of
// drive C. Paths arrive in the ANSI code page, as the C library's fopen takes them; a
// path too long for MAX_PATH is made absolute and given the "\\?\" prefix, so a folder
// of the full 259 characters still reaches its files.
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
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace kelvane::platform {

namespace {

// The longest scratch file name createScratchFile makes, terminator excluded.
constexpr std::size_t kMaxScratchName = 255;
// Characters that make a scratch name unique; as many as mkstemp's "XXXXXX".
constexpr int kUniqueChars = 6;
// Names tried before giving up when each one is taken already.
constexpr int kUniqueAttempts = 1000;

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

std::wstring widen(const std::string& s)
{
    if (s.empty()) return std::wstring();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
    return w;
}

std::string narrow(const wchar_t* w)
{
    const int n = ::WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string s(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, w, -1, &s[0], n, nullptr, nullptr);
    s.resize(static_cast<std::size_t>(n) - 1);
    return s;
}

// The path for the wide file functions: as given while it fits into MAX_PATH;
// otherwise made absolute (which also turns '/' into '\' and removes "." and "..",
// as "\\?\" paths must have it) and prefixed with "\\?\" or "\\?\UNC\". Empty when
// the path cannot be converted.
std::wstring systemPath(const std::string& path)
{
    std::wstring w = widen(path);
    if (w.empty() || w.size() < MAX_PATH) return w;
    const DWORD n = ::GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
    if (n == 0) return std::wstring();
    std::wstring full(n, L'\0');
    const DWORD written = ::GetFullPathNameW(w.c_str(), n, &full[0], nullptr);
    if (written == 0 || written >= n) return std::wstring();
    full.resize(written);
    if (full.rfind(L"\\\\?\\", 0) == 0 || full.rfind(L"\\\\.\\", 0) == 0) return full;
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// FindFirstFileW also matches a pattern against the short 8.3 name of a file and lets
// a trailing '?' match nothing; the shared matcher decides on the long name. Windows
// file names ignore case, and so does this comparison: a file that opening the name
// would find is found here too.
bool matchesFileName(const std::string& lowerPattern, const wchar_t* name)
{
    return wildcardMatch(lowerPattern.c_str(), lowerCase(narrow(name)).c_str());
}

// A C stream over a file handle; the handle is closed when the stream cannot be made.
std::FILE* streamOf(HANDLE handle, int flags, const char* mode)
{
    const int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), flags);
    if (fd < 0) {
        ::CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = ::_fdopen(fd, mode);
    if (file == nullptr) ::_close(fd); // closes the handle too
    return file;
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

} // namespace

bool operator==(const FileStamp& a, const FileStamp& b)
{
    return a.size == b.size && a.modified == b.modified;
}

bool anyFileMatches(const char* pattern)
{
    if (pattern == nullptr) return false;
    const std::string full(pattern);
    const std::size_t nameStart = fileNameStart(full);
    if (nameStart == full.size()) return false; // no file name part
    const std::string namePattern = lowerCase(full.substr(nameStart));
    const std::wstring searched = systemPath(full);
    if (searched.empty()) return false;

    WIN32_FIND_DATAW entry;
    const HANDLE search = ::FindFirstFileW(searched.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    do {
        const bool regular = (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
        found = regular && matchesFileName(namePattern, entry.cFileName);
    } while (!found && ::FindNextFileW(search, &entry));
    ::FindClose(search);
    return found;
}

// Opening never blocks on Windows: a device or a pipe opens (or fails) at once and is
// refused here by its file type before anything is read.
std::FILE* openRegularFile(const char* path, FileStamp* stamp)
{
    if (path == nullptr || *path == '\0') return nullptr;
    const std::wstring name = systemPath(path);
    if (name.empty()) return nullptr;
    const HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ::CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = streamOf(handle, _O_RDONLY | _O_BINARY, "rb");
    if (file == nullptr) return nullptr;
    if (stamp != nullptr) {
        stamp->size = static_cast<long long>((static_cast<unsigned long long>(info.nFileSizeHigh) << 32) |
                                             info.nFileSizeLow);
        stamp->modified = static_cast<long long>(
            (static_cast<unsigned long long>(info.ftLastWriteTime.dwHighDateTime) << 32) |
            info.ftLastWriteTime.dwLowDateTime);
    }
    return file;
}

// The name is the folder, a separator when the folder lacks one (the kind it uses
// already, '\' when it has none), the prefix and six letters or digits, like mkstemp's
// names on POSIX systems (GetTempFileName would keep only three characters of the
// prefix). CREATE_NEW makes the creation exclusive: a name that exists already, or a
// planted link, is never opened; the next name is tried. No other handle may open the
// file, and FILE_FLAG_DELETE_ON_CLOSE has the system delete it when the stream is
// closed or the process ends, however it ends.
std::FILE* createScratchFile(const char* folder, const char* prefix)
{
    if (folder == nullptr || prefix == nullptr) return nullptr;
    std::string name(folder);
    if (!name.empty() && !isSeparator(name.back()) && fileNameStart(name) != name.size()) {
        const std::size_t last = name.find_last_of("\\/");
        name += last == std::string::npos ? '\\' : name[last];
    }
    name += prefix;
    const std::size_t stem = name.size();
    name.append(kUniqueChars, 'x');
    if (name.size() > kMaxScratchName) return nullptr;

    unsigned long long state = ::GetTickCount64() ^
                               (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32) ^
                               reinterpret_cast<std::uintptr_t>(&name);
    for (int attempt = 0; attempt < kUniqueAttempts; ++attempt) {
        for (int k = 0; k < kUniqueChars; ++k) name[stem + k] = uniqueChar(state);
        const std::wstring path = systemPath(name);
        if (path.empty()) return nullptr;
        const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return streamOf(handle, _O_RDWR | _O_BINARY, "w+b");
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return nullptr;
    }
    return nullptr;
}

} // namespace kelvane::platform

#endif
