#include "win32/win32_code_page.h"

#include <windows.h>

namespace pellacore::win32 {

std::optional<unsigned char> Win32CodePage::SingleByteCode(wchar_t character) {
  char buffer[2] = {};
  int length = 0;
  BOOL usedDefault = FALSE;
  if (::GetACP() == CP_UTF8) {
    // UTF-8 as the system code page takes neither the flag nor the default
    // character; only ASCII is one byte there, anything else does not fit.
    length = ::WideCharToMultiByte(CP_UTF8, 0, &character, 1, buffer, 2, nullptr, nullptr);
  } else {
    // No best fit: a character that would come out as a look-alike (or as
    // "?") has no code of its own.
    length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &character, 1, buffer, 2,
                                   nullptr, &usedDefault);
  }
  if (length != 1 || usedDefault) return std::nullopt;
  return static_cast<unsigned char>(buffer[0]);
}

std::string Win32CodePage::ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

}  // namespace pellacore::win32
