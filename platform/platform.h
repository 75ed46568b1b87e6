// The two operating-system services the geoid code needs: "does any file match this
// wild-card pattern" and "create a unique temporary file in this folder". Everything
// that depends on the operating system lives in platform/: platform_posix.cpp is the
// only implementation so far; a Windows build needs a platform_windows.cpp
// (FindFirstFile, GetTempFileName, '\\' as a separator too) behind the same
// declarations. The wild-card matcher itself is plain C++ and shared by every platform.
#ifndef KELVANE_PLATFORM_PLATFORM_H
#define KELVANE_PLATFORM_PLATFORM_H

#include <cstddef>

namespace kelvane::platform {

// True when name matches pattern as a whole: '*' stands for any run of characters
// (the empty run included), '?' for exactly one character; every other character
// stands for itself (case-sensitive, no escapes, no brackets). Either pointer null
// gives false. Runs in O(pattern length * name length) at worst, never exponential.
bool wildcardMatch(const char* pattern, const char* name);

// True when at least one file matches pattern, which is a folder and a file-name
// pattern glued together ("/data/geoid/g2003???.grd"): the folder is everything up
// to the last separator and holds no wild-cards; only the file name may. A pattern
// without a separator searches the current folder. A missing or unreadable folder,
// a null pattern or one that ends in a separator gives false. Folders themselves do
// not count as matches, only files.
bool anyFileMatches(const char* pattern);

// Creates a new, empty file with a unique name in folder, the name starting with
// prefix, and writes its full path (with its terminator) into path, which holds
// pathSize bytes. The folder may be given with or without its trailing separator;
// an empty folder means the current folder. Returns 0 on success; 1 when the
// arguments are null, when the path would not fit into pathSize bytes (nothing is
// truncated: path is then left untouched) or when the file cannot be created. The
// caller owns the file and deletes it.
int createTempFile(const char* folder, const char* prefix, char* path, std::size_t pathSize);

} // namespace kelvane::platform

#endif
