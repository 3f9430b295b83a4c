#pragma once
// Pure path helpers. "\" is the only separator; comparisons are exact.

#include <string>
#include <string_view>

namespace pellacore {

// The path up to and including its last "\", or "" when it has none.
// Raises the overflow failure when that separator stands beyond position
// 32767, the largest position the rule keeps.
std::wstring FolderOfPath(std::wstring_view path);

// Everything after the last "\"; the whole path when it has none.
std::wstring FileNameOfPath(std::wstring_view path);

// Collapses doubled separators in one left-to-right pass ("\\" -> "\", so
// "\\\" -> "\\"); a path that starts with "\" gets exactly two leading
// separators, the form a network path begins with.
std::wstring NormalizeFolderPath(std::wstring_view path);

// Whether the path names a drive's root ("D:\") or a share's root
// ("\\server\share", with or without its final "\"): folders that are no
// entry of any other folder, so that a directory search never finds them.
bool IsRootPath(std::wstring_view path);

}  // namespace pellacore
