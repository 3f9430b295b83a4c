#pragma once
// The system's file-open dialog.

#include <windows.h>

#include "platform/file_dialogs.h"

namespace pellacore::win32 {

class Win32FileDialogs : public FileDialogs {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  std::wstring ShowOpen(const OpenDialogSettings& settings) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace pellacore::win32
