#pragma once
// The shell's default action on a file or folder.

#include <windows.h>

#include <shellapi.h>

#include "platform/shell.h"

namespace pellacore::win32 {

class Win32Shell : public Shell {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void Open(const std::wstring& file, const std::wstring& workingFolder) override {
    ::ShellExecuteW(owner_, nullptr, file.c_str(), nullptr, workingFolder.c_str(), SW_SHOW);
  }

 private:
  HWND owner_ = nullptr;
};

}  // namespace pellacore::win32
