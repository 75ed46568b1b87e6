// The operating-system services of the library, behind plain declarations: wild-card
// directory search, opening a file for reading only when it is a regular file, and
// anonymous scratch files. Everything that depends on the operating system lives in
// platform/ and nowhere else: platform_posix.cpp implements these declarations on POSIX
// systems, and a Windows build implements the same ones (FindFirstFile, CreateFile with
// CREATE_NEW and FILE_FLAG_DELETE_ON_CLOSE, '\\' as a separator too). The wild-card
// matcher is plain C++ and shared by every platform.
#ifndef KELVANE_PLATFORM_PLATFORM_H
#define KELVANE_PLATFORM_PLATFORM_H

#include <cstddef>
#include <cstdio>

namespace kelvane::platform {

// True when name matches pattern as a whole: '*' stands for any run of characters
// (the empty run included), '?' for exactly one character; every other character
// stands for itself (case-sensitive, no escapes, no brackets). Either pointer null
// gives false. Runs in O(pattern length * name length) at worst, never exponential.
bool wildcardMatch(const char* pattern, const char* name);

// True when at least one regular file matches pattern, which is a folder and a
// file-name pattern glued together ("/data/geoid/g2003???.grd"): the folder is
// everything up to the last separator and holds no wild-cards; only the file name may.
// A pattern without a separator searches the current folder. A missing or unreadable
// folder, a null pattern or one that ends in a separator gives false. Folders, pipes,
// devices and sockets do not count as matches, only regular files (or links to them).
bool anyFileMatches(const char* pattern);

// What openRegularFile tells about the file it opened. Two stamps of one path compare
// equal while the file is unchanged; a rewrite, a replacement or a change of size gives
// a different stamp. modified is only compared, never interpreted.
struct FileStamp {
    long long size;     // bytes
    long long modified; // time of the last change, in a unit of the platform's choosing
};
bool operator==(const FileStamp& a, const FileStamp& b);

// Opens path for reading in binary mode only when it is a regular file (or a link to
// one), and fills *stamp when stamp is given. The check is made on the opened file
// itself, so a swap of the name in between does not help, and opening never blocks (a
// pipe or a device named as the file is refused at once). Null when the file is
// missing, unreadable, or no regular file; *stamp is then left untouched. The caller
// closes the stream with std::fclose.
std::FILE* openRegularFile(const char* path, FileStamp* stamp);

// Creates a new file exclusively (never an existing one, never through a link) in
// folder, with a unique name that starts with prefix, and returns it opened for binary
// reading and writing; every later access goes through that stream, never through the
// name. The folder may be given with or without its trailing separator; empty means
// the current folder. The file is anonymous: on POSIX its name is removed right after
// creation, so nothing is left behind even when the process is killed; on Windows it is
// deleted when the stream is closed or the process ends. Returns null when an argument
// is null, when the name would be longer than 255 characters, or when the file cannot
// be created (nothing is then left behind). Closing the stream with std::fclose
// releases the file.
std::FILE* createScratchFile(const char* folder, const char* prefix);

} // namespace kelvane::platform

#endif
