#include "win32/options_menu.h"

#include "win32/win32_failure.h"

namespace pellacore::win32::options_menu {

void Attach(HWND window) {
  HMENU options = ::CreatePopupMenu();
  HMENU bar = ::CreateMenu();
  if (!options || !bar) throw SystemFailure(::GetLastError());
  ::AppendMenuW(options, MF_STRING | MF_GRAYED, kStop, L"&Stop After This Drawing\tEsc");
  ::AppendMenuW(options, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(options, MF_STRING, kTimeLimit, L"&Time Limit per Drawing...");
  ::AppendMenuW(options, MF_STRING, kUnattended, L"&Unattended Run (No Boxes Until the End)");
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(options), L"&Options");
  // From here the window owns the bar, and the bar its menu.
  if (!::SetMenu(window, bar)) {
    const DWORD error = ::GetLastError();
    ::DestroyMenu(bar);
    throw SystemFailure(error);
  }
}

void EnableStop(HWND window, bool enabled) {
  ::EnableMenuItem(::GetMenu(window), kStop, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  ::DrawMenuBar(window);
}

void CheckUnattended(HWND window, bool checked) {
  ::CheckMenuItem(::GetMenu(window), kUnattended, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace pellacore::win32::options_menu
