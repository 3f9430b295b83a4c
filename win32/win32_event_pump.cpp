#include "win32/win32_event_pump.h"

#include <windows.h>

namespace pellacore::win32 {

void Win32EventPump::HandlePending() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave the quit request for the message loop that owns it.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

bool Win32EventPump::Dispatch(const MSG& message) {
  if (message.message == WM_QUIT) return false;
  MSG copy = message;
  if (dialogWindow_ && ::IsDialogMessageW(dialogWindow_, &copy)) return true;
  ::TranslateMessage(&copy);
  ::DispatchMessageW(&copy);
  return true;
}

}  // namespace pellacore::win32
