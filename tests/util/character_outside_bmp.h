#pragma once

#include <string>

namespace pellacore {

// One character outside the BMP (U+1F600), as the platform's wide strings hold
// it: a surrogate pair where wchar_t has 16 bits, one wchar_t where it has 32.
inline std::wstring CharacterOutsideBmp() {
  if constexpr (sizeof(wchar_t) == 2) return L"\xD83D\xDE00";
  return std::wstring(1, static_cast<wchar_t>(0x1F600));
}

}  // namespace pellacore
