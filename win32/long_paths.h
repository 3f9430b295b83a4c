#pragma once
// Paths as the platform takes them at any length.

#include <windows.h>

#include <string>

namespace pellacore::win32 {

// Folders are created under a shorter limit: room is kept for a name of
// 8.3 characters inside them.
inline constexpr std::size_t kCreateFolderPathLimit = MAX_PATH - 12;

// The path to hand to the wide file functions. Unless the system-wide
// long-path setting is on, they refuse paths of `limit` characters and more
// that do not start with "\\?\" ("\\?\UNC\" for a share), and that prefix
// also turns off the clean-up they make of a path (separators, "." and
// "..", trailing dots and blanks): a long path is made full and clean first,
// as they would have, then prefixed. Shorter paths, and paths that already
// name the system's own name spaces, are passed as they are.
std::wstring PlatformPath(const std::wstring& path, std::size_t limit = MAX_PATH);

}  // namespace pellacore::win32
