#pragma once
// Message boxes of the system, application-modal, owned by the main window.

#include <windows.h>

#include "platform/message_boxes.h"

namespace pellacore::win32 {

class Win32MessageBoxes : public MessageBoxes {
 public:
  // The window that owns every box (disabled while one is open); none until
  // the main window exists.
  void SetOwner(HWND owner) { owner_ = owner; }

  MessageAnswer Show(const std::wstring& text, const std::wstring& title, MessageButtons buttons,
                     MessageIcon icon) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace pellacore::win32
