#pragma once
// The shell's folder picker.

#include <windows.h>

#include "platform/folder_picker.h"

namespace pellacore::win32 {

class Win32FolderPicker : public FolderPicker {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  std::wstring Browse(const std::wstring& prompt, const std::wstring& initialFolder) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace pellacore::win32
