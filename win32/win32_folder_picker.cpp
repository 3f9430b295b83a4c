#include "win32/win32_folder_picker.h"

#include <shlobj.h>

#include "win32/unique_resource.h"

namespace pellacore::win32 {
namespace {

// Opens the picker on the initial folder. Nothing is thrown into the shell.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM initialFolder) noexcept {
  const auto* folder = reinterpret_cast<const std::wstring*>(initialFolder);
  if (message == BFFM_INITIALIZED && folder && !folder->empty()) {
    ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder->c_str()));
  }
  return 0;
}

}  // namespace

std::wstring Win32FolderPicker::Browse(const std::wstring& prompt, const std::wstring& initialFolder) {
  BROWSEINFOW info{};
  info.hwndOwner = owner_;
  info.lpszTitle = prompt.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&initialFolder);
  UniqueItemIdList chosen(::SHBrowseForFolderW(&info));
  if (!chosen) return {};
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(chosen.get(), path)) return {};
  return path;
}

}  // namespace pellacore::win32
