#pragma once
// The system's ANSI code page, as WideCharToMultiByte sees it.

#include "platform/code_page.h"

namespace pellacore::win32 {

class Win32CodePage : public CodePage {
 public:
  std::optional<unsigned char> SingleByteCode(wchar_t character) override;
  std::string ToAnsi(const std::wstring& text) override;
};

}  // namespace pellacore::win32
