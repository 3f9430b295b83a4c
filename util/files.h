#pragma once
// File and folder helpers over the platform's ports. The tests among them
// answer false instead of failing; DeleteFileQuietly never fails.

#include <string>

namespace pellacore {

class EventPump;
class FileSystem;
class SpecialFolders;

// Size of the buffer that SpecialFolderPath answers with.
inline constexpr std::size_t kSpecialFolderBufferLength = 512;

// The special folder's path, a NUL and blanks up to 512 characters, or ""
// when the shell cannot give a path for it.
std::wstring SpecialFolderPath(SpecialFolders& folders, int csidl);

// The desktop folder's path followed by "\". Raises the invalid-argument
// failure when the shell gives no path for the desktop.
std::wstring DesktopFolderPath(SpecialFolders& folders);

// Whether the file system can tell the path's last-modified time.
bool FileExists(FileSystem& fs, const std::wstring& path);

// Whether a directory search for the path finds a normal file: one that is
// neither a folder nor hidden nor system (read-only and archive files count).
bool NormalFileExists(FileSystem& fs, const std::wstring& path);

// Whether the path names a folder (a trailing "\" is allowed).
bool IsFolder(FileSystem& fs, const std::wstring& path);

// Yields to the event loop once, then deletes the file, forcing the deletion
// of a read-only file. Never fails and never tells whether the file is gone.
void DeleteFileQuietly(FileSystem& fs, EventPump& pump, const std::wstring& path);

}  // namespace pellacore
