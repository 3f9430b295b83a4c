#pragma once
// The program's own input box: a prompt, OK and Cancel, and an edit box.

#include <windows.h>

#include "platform/input_box.h"

namespace pellacore::win32 {

class Win32InputBox : public InputBox {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  std::wstring Ask(const std::wstring& prompt, const std::wstring& title,
                   const std::wstring& defaultText) override;

  // The identifiers of the box's controls, for the tests that drive it.
  static constexpr int kPromptId = 100;
  static constexpr int kAnswerId = 101;

 private:
  HWND owner_ = nullptr;
};

}  // namespace pellacore::win32
