#include "util/text.h"

#include <cwchar>

namespace pellacore {

std::size_t Utf16Length(std::wstring_view text) {
#if WCHAR_MAX > 0xFFFF
  std::size_t units = 0;
  for (wchar_t c : text) units += c > 0xFFFF ? 2 : 1;
  return units;
#else
  return text.size();
#endif
}

std::size_t Utf16Position(std::wstring_view text, std::size_t index) {
  return Utf16Length(text.substr(0, index)) + 1;
}

std::wstring WidenAscii(std::string_view text) {
  std::wstring wide;
  wide.reserve(text.size());
  for (char c : text) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return wide;
}

}  // namespace pellacore
