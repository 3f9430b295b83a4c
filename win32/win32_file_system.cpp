#include "win32/win32_file_system.h"

#include <windows.h>

#include "win32/unique_resource.h"
#include "win32/win32_failure.h"

namespace pellacore::win32 {

std::int64_t Win32FileSystem::LastWriteTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    throw FileSystemFailure(::GetLastError());
  }
  ULARGE_INTEGER time;
  time.LowPart = data.ftLastWriteTime.dwLowDateTime;
  time.HighPart = data.ftLastWriteTime.dwHighDateTime;
  return static_cast<std::int64_t>(time.QuadPart);
}

std::uint32_t Win32FileSystem::Attributes(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw FileSystemFailure(::GetLastError());
  return attributes;
}

std::vector<FoundEntry> Win32FileSystem::FindEntries(const std::wstring& pattern) {
  std::vector<FoundEntry> found;
  WIN32_FIND_DATAW data;
  UniqueFindHandle search(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
  if (!search) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        error == ERROR_NO_MORE_FILES) {
      return found;
    }
    throw FileSystemFailure(error);
  }
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    found.push_back({std::wstring(name), data.dwFileAttributes});
  } while (::FindNextFileW(search.get(), &data));
  const DWORD error = ::GetLastError();
  if (error != ERROR_NO_MORE_FILES) throw FileSystemFailure(error);
  return found;
}

void Win32FileSystem::RemoveFile(const std::wstring& path) {
  if (!::DeleteFileW(path.c_str())) throw FileSystemFailure(::GetLastError());
}

void Win32FileSystem::ForceRemoveFile(const std::wstring& path) {
  const DWORD attributes = Attributes(path);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw FileSystemFailure(ERROR_FILE_NOT_FOUND);
  const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly && !::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
    throw FileSystemFailure(::GetLastError());
  }
  if (::DeleteFileW(path.c_str())) return;
  const DWORD error = ::GetLastError();
  // The file stays: leave it as read-only as it was.
  if (readOnly) ::SetFileAttributesW(path.c_str(), attributes);
  throw FileSystemFailure(error);
}

}  // namespace pellacore::win32
