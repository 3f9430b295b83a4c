#include "win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "win32/long_paths.h"
#include "win32/unique_resource.h"
#include "win32/win32_failure.h"

namespace pellacore::win32 {

std::int64_t Win32FileSystem::LastWriteTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(PlatformPath(path).c_str(), GetFileExInfoStandard, &data)) {
    throw FileSystemFailure(::GetLastError());
  }
  ULARGE_INTEGER time;
  time.LowPart = data.ftLastWriteTime.dwLowDateTime;
  time.HighPart = data.ftLastWriteTime.dwHighDateTime;
  return static_cast<std::int64_t>(time.QuadPart);
}

std::uint32_t Win32FileSystem::Attributes(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(PlatformPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw FileSystemFailure(::GetLastError());
  return attributes;
}

std::vector<FoundEntry> Win32FileSystem::FindEntries(const std::wstring& pattern) {
  std::vector<FoundEntry> found;
  WIN32_FIND_DATAW data;
  UniqueFindHandle search(::FindFirstFileExW(PlatformPath(pattern).c_str(), FindExInfoBasic, &data,
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

std::vector<std::wstring> Win32FileSystem::SubFolderNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  const std::wstring pattern = folder + (folder.ends_with(L'\\') ? L"*" : L"\\*");
  WIN32_FIND_DATAW data;
  UniqueFindHandle search(::FindFirstFileExW(PlatformPath(pattern).c_str(), FindExInfoBasic, &data,
                                             FindExSearchLimitToDirectories, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
  if (!search) {
    const DWORD error = ::GetLastError();
    switch (error) {
      case ERROR_ACCESS_DENIED:
        throw StandardFailure(failure_number::kPermissionDenied);
      case ERROR_PATH_NOT_FOUND:
      case ERROR_DIRECTORY:
        throw StandardFailure(failure_number::kPathNotFound);
      case ERROR_FILE_NOT_FOUND:
      case ERROR_NO_MORE_FILES: {
        // Nothing matched: an empty drive root (it has no "." entry), or the
        // folder itself is not there.
        const DWORD attributes = ::GetFileAttributesW(PlatformPath(folder).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
          return names;
        }
        throw StandardFailure(failure_number::kPathNotFound);
      }
      default:
        throw FileSystemFailure(error);
    }
  }
  do {
    // Limiting the search to folders is only a hint to the file system.
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    names.emplace_back(name);
  } while (::FindNextFileW(search.get(), &data));
  const DWORD error = ::GetLastError();
  if (error != ERROR_NO_MORE_FILES) throw FileSystemFailure(error);
  return names;
}

std::optional<FolderIdentity> Win32FileSystem::FolderIdentityOf(const std::wstring& folder) {
  // Opened through any link or junction on the way, to the folder itself;
  // backup semantics open a folder, and no access rights are needed to read
  // its index.
  const UniqueFile handle(::CreateFileW(PlatformPath(folder).c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information;
  if (!::GetFileInformationByHandle(handle.get(), &information) ||
      !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  const std::uint64_t index =
      (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
  // Some network file systems answer no index at all: every folder would
  // look like the first one.
  if (index == 0 || index == ~std::uint64_t{0}) return std::nullopt;
  return FolderIdentity{information.dwVolumeSerialNumber, index};
}

bool Win32FileSystem::CanOpenFile(const std::wstring& path) {
  // No access rights asked for, so a file that others hold open still
  // counts; without backup semantics a folder does not open at all.
  const UniqueFile file(::CreateFileW(PlatformPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING,
                                      FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  return static_cast<bool>(file);
}

void Win32FileSystem::RemoveFile(const std::wstring& path) {
  if (!::DeleteFileW(PlatformPath(path).c_str())) throw FileSystemFailure(::GetLastError());
}

void Win32FileSystem::ForceRemoveFile(const std::wstring& path) {
  const DWORD attributes = Attributes(path);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw FileSystemFailure(ERROR_FILE_NOT_FOUND);
  const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly && !::SetFileAttributesW(PlatformPath(path).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
    throw FileSystemFailure(::GetLastError());
  }
  if (::DeleteFileW(PlatformPath(path).c_str())) return;
  const DWORD error = ::GetLastError();
  // The file stays: leave it as read-only as it was.
  if (readOnly) ::SetFileAttributesW(PlatformPath(path).c_str(), attributes);
  throw FileSystemFailure(error);
}

void Win32FileSystem::CreateFolder(const std::wstring& path) {
  if (::CreateDirectoryW(PlatformPath(path, kCreateFolderPathLimit).c_str(), nullptr)) return;
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS) {
    const DWORD attributes = ::GetFileAttributesW(PlatformPath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  }
  throw FileSystemFailure(error);
}

void Win32FileSystem::WriteNewFile(const std::wstring& path, const std::string& bytes) {
  // CREATE_NEW: the name is taken in one step, so nothing is ever replaced,
  // not even a file that appeared since the caller chose the name.
  UniqueFile file(::CreateFileW(PlatformPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    // A folder of that name is refused as access denied, but it is a name taken.
    const DWORD attributes = ::GetFileAttributesW(PlatformPath(path).c_str());
    throw FileSystemFailure(attributes != INVALID_FILE_ATTRIBUTES ? ERROR_FILE_EXISTS : error);
  }
  DWORD error = ERROR_SUCCESS;
  for (std::size_t done = 0; done < bytes.size() && error == ERROR_SUCCESS;) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr)) {
      error = ::GetLastError();
    } else if (written == 0) {
      error = ERROR_WRITE_FAULT;
    }
    done += written;
  }
  if (error == ERROR_SUCCESS && !::FlushFileBuffers(file.get())) error = ::GetLastError();
  if (error == ERROR_SUCCESS) return;
  // Half a file would read as a whole one: none is left.
  file.reset();
  ::DeleteFileW(PlatformPath(path).c_str());
  throw FileSystemFailure(error);
}

}  // namespace pellacore::win32
