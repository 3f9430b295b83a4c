#include "win32/win32_file_dialogs.h"

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <vector>

#include "util/failure.h"

namespace pellacore::win32 {
namespace {

// "Description|pattern|..." as the dialog wants it: NUL separated, two NULs at the end.
std::wstring DialogFilter(const std::wstring& filter) {
  std::wstring result = filter;
  for (wchar_t& c : result) {
    if (c == L'|') c = L'\0';
  }
  result.push_back(L'\0');
  result.push_back(L'\0');
  return result;
}

// The buffer the dialog writes the chosen names into. Wine's dialog writes a
// selection of several files whole, whatever nMaxFile says, so the buffer
// grows with the selection before the dialog writes it: nothing the dialog
// writes falls outside it.
class OpenDialogNames {
 public:
  OpenDialogNames(OPENFILENAMEW& dialog, std::size_t chars, const std::wstring& preset) : own_(&dialog) {
    Reserve(chars);
    preset.copy(names_.data(), std::min(preset.size(), chars > 0 ? chars - 1 : 0));
  }

  // The structure the dialog holds, where it may be a copy of our own.
  void Hold(OPENFILENAMEW* held) { held_ = held; }

  // Makes room for `chars` characters, both in our structure and in the one
  // the dialog holds. Replaced buffers stay until the dialog has returned.
  void Reserve(std::size_t chars) {
    // Two NULs past the room the dialog is told of end every list.
    if (chars + 2 <= names_.size()) return;
    std::vector<wchar_t> larger(chars + 2, L'\0');
    std::copy(names_.begin(), names_.end(), larger.begin());
    if (!names_.empty()) retired_.push_back(std::move(names_));
    names_ = std::move(larger);
    for (OPENFILENAMEW* dialog : {own_, held_}) {
      if (!dialog) continue;
      dialog->lpstrFile = names_.data();
      dialog->nMaxFile = static_cast<DWORD>(chars);
    }
  }

  // The NUL-separated parts the dialog wrote, read no further than the buffer.
  std::vector<std::wstring> Parts() const {
    std::vector<std::wstring> parts;
    std::size_t at = 0;
    while (at < names_.size() && names_[at] != L'\0') {
      const auto end = std::find(names_.begin() + static_cast<std::ptrdiff_t>(at), names_.end(), L'\0');
      const std::size_t next = static_cast<std::size_t>(end - names_.begin());
      parts.emplace_back(names_.data() + at, next - at);
      at = next + 1;
    }
    return parts;
  }

 private:
  OPENFILENAMEW* own_;
  OPENFILENAMEW* held_ = nullptr;
  std::vector<wchar_t> names_;
  std::vector<std::vector<wchar_t>> retired_;
};

// The most the dialog writes for what it shows now: the folder (at most
// MAX_PATH), a NUL, then the names each ended by a NUL and a last NUL, which
// take no more than the name box's text and two characters.
std::size_t RoomForSelection(HWND dialog) {
  const LRESULT folder = ::SendMessageW(dialog, CDM_GETFOLDERPATH, 0, 0);
  const LRESULT spec = ::SendMessageW(dialog, CDM_GETSPEC, 0, 0);
  LRESULT typed = 0;
  for (int nameBox : {cmb13, edt1}) {
    if (HWND box = ::GetDlgItem(dialog, nameBox)) typed = std::max(typed, ::SendMessageW(box, WM_GETTEXTLENGTH, 0, 0));
  }
  const std::size_t folderChars = static_cast<std::size_t>(std::max<LRESULT>(folder, MAX_PATH));
  const std::size_t nameChars = static_cast<std::size_t>(std::max<LRESULT>({spec, typed, 0}));
  return folderChars + 1 + nameChars + 2;
}

constexpr UINT_PTR kOpenDialogSubclass = 1;

// The dialog's own procedure, seen first: OK makes room for what the name
// box holds before the dialog writes it, also for names that were typed.
LRESULT CALLBACK OpenDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) noexcept {
  auto* names = reinterpret_cast<OpenDialogNames*>(data);
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) names->Reserve(RoomForSelection(dialog));
  if (message == WM_NCDESTROY) ::RemoveWindowSubclass(dialog, OpenDialogProc, kOpenDialogSubclass);
  return ::DefSubclassProc(dialog, message, wParam, lParam);
}

// The hook of an Explorer-style dialog is a child dialog of it.
UINT_PTR CALLBACK OpenDialogHook(HWND hook, UINT message, WPARAM, LPARAM lParam) noexcept {
  if (message == WM_INITDIALOG) {
    auto* held = reinterpret_cast<OPENFILENAMEW*>(lParam);
    auto* names = reinterpret_cast<OpenDialogNames*>(held->lCustData);
    names->Hold(held);
    ::SetWindowSubclass(::GetParent(hook), OpenDialogProc, kOpenDialogSubclass, reinterpret_cast<DWORD_PTR>(names));
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    const auto* notice = reinterpret_cast<const OFNOTIFYW*>(lParam);
    if (notice->hdr.code == CDN_SELCHANGE) {
      auto* names = reinterpret_cast<OpenDialogNames*>(notice->lpOFN->lCustData);
      names->Hold(notice->lpOFN);
      names->Reserve(RoomForSelection(::GetParent(hook)));
    }
  }
  return 0;
}

}  // namespace

std::wstring Win32FileDialogs::ShowOpen(const OpenDialogSettings& settings) {
  const std::wstring filter = DialogFilter(settings.filter);
  OPENFILENAMEW dialog{};
  OpenDialogNames names(dialog, settings.bufferChars, settings.fileName);
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrTitle = settings.title.c_str();
  dialog.Flags = settings.flags | OFN_ENABLEHOOK | OFN_ENABLESIZING;
  dialog.lpfnHook = OpenDialogHook;
  dialog.lCustData = reinterpret_cast<LPARAM>(&names);
  if (!::GetOpenFileNameW(&dialog)) {
    const DWORD error = ::CommDlgExtendedError();
    if (error == 0) return {};  // cancelled
    if (error == FNERR_BUFFERTOOSMALL) throw StandardFailure(failure_number::kBufferTooSmall);
    throw Failure(static_cast<long>(error), L"The file dialog failed (error " + std::to_wstring(error) + L")");
  }
  // One path, or the folder and the names, each ended by a NUL, then a second NUL.
  const std::vector<std::wstring> parts = names.Parts();
  std::wstring result;
  std::size_t used = 0;
  for (const std::wstring& part : parts) {
    if (!result.empty()) result.push_back(L'\0');
    result += part;
    used += part.size() + 1;
  }
  // The buffer grows for safety only: what does not fit the designed buffer is refused.
  if (used + 1 > settings.bufferChars) throw StandardFailure(failure_number::kBufferTooSmall);
  return result;
}

}  // namespace pellacore::win32
