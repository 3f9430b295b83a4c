#include "tools/soak/folder_snapshot.h"

#include <windows.h>

namespace pellacore::soak {

namespace {

class FindHandle {
 public:
  FindHandle(const std::wstring& pattern, WIN32_FIND_DATAW& found) : handle_(::FindFirstFileW(pattern.c_str(), &found)) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) ::FindClose(handle_);
  }
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAW& found) const { return ::FindNextFileW(handle_, &found) != 0; }

 private:
  HANDLE handle_;
};

void AddTree(const std::wstring& folder, FileSnapshot& snapshot) {
  WIN32_FIND_DATAW found{};
  const FindHandle search(folder + L"\\*", found);
  if (!search.ok()) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A link out of the tree (Wine's profile folders point into $HOME) is not ours.
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) AddTree(path, snapshot);
      continue;
    }
    snapshot[path] = {static_cast<std::uint64_t>(found.nFileSizeHigh) << 32 | found.nFileSizeLow,
                      static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32 |
                          found.ftLastWriteTime.dwLowDateTime};
  } while (search.Next(found));
}

}  // namespace

FileSnapshot SnapshotOf(const std::vector<std::wstring>& folders) {
  FileSnapshot snapshot;
  for (const std::wstring& folder : folders) AddTree(folder, snapshot);
  return snapshot;
}

}  // namespace pellacore::soak
