#include "win32/win32_folder_picker.h"

#include <shlobj.h>

#include "win32/unique_resource.h"

namespace pellacore::win32 {
namespace {

// Opening the picker on the initial folder. The shell may fill the picker's
// tree after it says it is ready, and a selection made before that is lost
// (Wine's picker does so), so the folder is selected again on a timer until
// the picker reports it selected, for a bounded while.
struct PickerOpening {
  const std::wstring* folder = nullptr;
  bool shown = false;
  int retriesLeft = 0;
};

constexpr wchar_t kPickerOpeningProperty[] = L"Pellacore.PickerOpening";
constexpr UINT_PTR kReselectTimer = 1;
constexpr UINT kReselectMilliseconds = 200;
constexpr int kReselectRetries = 15;  // three seconds

void SelectInitialFolder(HWND dialog, const PickerOpening& opening) {
  ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(opening.folder->c_str()));
}

void CALLBACK ReselectInitialFolder(HWND dialog, UINT, UINT_PTR timer, DWORD) noexcept {
  auto* opening = static_cast<PickerOpening*>(::GetPropW(dialog, kPickerOpeningProperty));
  if (!opening || opening->shown || opening->retriesLeft-- <= 0) {
    ::KillTimer(dialog, timer);
    ::RemovePropW(dialog, kPickerOpeningProperty);
    return;
  }
  SelectInitialFolder(dialog, *opening);
}

bool PickerShowsFolder(LPCITEMIDLIST item, const std::wstring& folder) {
  wchar_t path[MAX_PATH] = {};
  if (!item || !::SHGetPathFromIDListW(item, path)) return false;
  std::wstring selected = path;
  std::wstring wanted = folder;
  for (std::wstring* text : {&selected, &wanted}) {
    while (text->size() > 3 && text->back() == L'\\') text->pop_back();
  }
  return ::CompareStringOrdinal(selected.c_str(), -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Nothing is thrown into the shell.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM parameter, LPARAM data) noexcept {
  auto* opening = reinterpret_cast<PickerOpening*>(data);
  if (!opening || !opening->folder || opening->folder->empty()) return 0;
  switch (message) {
    case BFFM_INITIALIZED:
      ::SetPropW(dialog, kPickerOpeningProperty, opening);
      SelectInitialFolder(dialog, *opening);
      if (!opening->shown) ::SetTimer(dialog, kReselectTimer, kReselectMilliseconds, ReselectInitialFolder);
      break;
    case BFFM_SELCHANGED:
      if (!opening->shown && PickerShowsFolder(reinterpret_cast<LPCITEMIDLIST>(parameter), *opening->folder)) {
        opening->shown = true;
        ::KillTimer(dialog, kReselectTimer);
      }
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace

std::wstring Win32FolderPicker::Browse(const std::wstring& prompt, const std::wstring& initialFolder) {
  PickerOpening opening{&initialFolder, false, kReselectRetries};
  BROWSEINFOW info{};
  info.hwndOwner = owner_;
  info.lpszTitle = prompt.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&opening);
  UniqueItemIdList chosen(::SHBrowseForFolderW(&info));
  if (!chosen) return {};
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(chosen.get(), path)) return {};
  return path;
}

}  // namespace pellacore::win32
