#include "win32/win32_special_folders.h"

#include <windows.h>

#include <shlobj.h>

#include "win32/unique_resource.h"

namespace pellacore::win32 {

std::optional<std::wstring> Win32SpecialFolders::FolderPath(int csidl) {
  UniqueItemIdList items;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, items.put()))) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(items.get(), path)) return std::nullopt;
  return std::wstring(path);
}

}  // namespace pellacore::win32
