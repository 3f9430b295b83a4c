#include "win32/win32_file_dialogs.h"

#include <cderr.h>
#include <commdlg.h>

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

}  // namespace

std::wstring Win32FileDialogs::ShowOpen(const OpenDialogSettings& settings) {
  // Room beyond the buffer the dialog is told of: Wine's dialog writes a
  // selection that does not fit past the end instead of refusing it.
  std::vector<wchar_t> buffer(settings.bufferChars * 2 + 2, L'\0');
  settings.fileName.copy(buffer.data(), settings.bufferChars);
  const std::wstring filter = DialogFilter(settings.filter);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(settings.bufferChars);
  dialog.lpstrTitle = settings.title.c_str();
  dialog.Flags = settings.flags;
  if (!::GetOpenFileNameW(&dialog)) {
    const DWORD error = ::CommDlgExtendedError();
    if (error == 0) return {};  // cancelled
    if (error == FNERR_BUFFERTOOSMALL) throw StandardFailure(failure_number::kBufferTooSmall);
    throw Failure(static_cast<long>(error), L"The file dialog failed (error " + std::to_wstring(error) + L")");
  }
  // One path, or the folder and the names, each ended by a NUL, then a second NUL.
  std::wstring result;
  std::size_t used = 0;
  for (const wchar_t* part = buffer.data(); *part; part += wcslen(part) + 1) {
    if (!result.empty()) result.push_back(L'\0');
    result += part;
    used += wcslen(part) + 1;
  }
  if (used + 1 > settings.bufferChars) throw StandardFailure(failure_number::kBufferTooSmall);
  return result;
}

}  // namespace pellacore::win32
