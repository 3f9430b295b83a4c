#pragma once
// Yields to the thread's message loop: every waiting message is dispatched.

#include <windows.h>

#include "platform/event_pump.h"

namespace pellacore::win32 {

class Win32EventPump : public EventPump {
 public:
  // The window whose controls take the dialog keys (Tab, arrows), if any.
  void SetDialogWindow(HWND window) { dialogWindow_ = window; }
  HWND dialogWindow() const { return dialogWindow_; }

  void HandlePending() override;

  // Handles one message as the program's loops do; false for WM_QUIT.
  bool Dispatch(const MSG& message);

 private:
  HWND dialogWindow_ = nullptr;
};

}  // namespace pellacore::win32
