#pragma once
// The file system through the wide API, so that no path is mangled, with
// paths of any length (win32/long_paths.h).

#include "platform/file_system.h"

namespace pellacore::win32 {

class Win32FileSystem : public FileSystem {
 public:
  std::int64_t LastWriteTime(const std::wstring& path) override;
  std::uint32_t Attributes(const std::wstring& path) override;
  std::vector<FoundEntry> FindEntries(const std::wstring& pattern) override;
  std::vector<std::wstring> SubFolderNames(const std::wstring& folder) override;
  std::optional<FolderIdentity> FolderIdentityOf(const std::wstring& folder) override;
  bool CanOpenFile(const std::wstring& path) override;
  void RemoveFile(const std::wstring& path) override;
  void ForceRemoveFile(const std::wstring& path) override;
  void CreateFolder(const std::wstring& path) override;
  void WriteNewFile(const std::wstring& path, const std::string& bytes) override;
};

}  // namespace pellacore::win32
