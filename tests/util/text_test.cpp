#include "util/text.h"

#include <gtest/gtest.h>

namespace pellacore {
namespace {

std::wstring CharacterOutsideBmp() {
  if constexpr (sizeof(wchar_t) == 2) return L"\xD83D\xDE00";
  return std::wstring(1, static_cast<wchar_t>(0x1F600));
}

TEST(Utf16Length, CountsCharactersOutsideTheBmpTwice) {
  EXPECT_EQ(Utf16Length(L""), 0u);
  EXPECT_EQ(Utf16Length(L"C:\\\u00e9"), 4u);
  EXPECT_EQ(Utf16Length(L"a" + CharacterOutsideBmp() + L"b"), 4u);
}

TEST(Utf16Position, IsOneBasedInCodeUnits) {
  const std::wstring text = CharacterOutsideBmp() + L"\\x";
  const std::size_t separator = text.find(L'\\');
  EXPECT_EQ(Utf16Position(text, 0), 1u);
  EXPECT_EQ(Utf16Position(text, separator), 3u);
}

}  // namespace
}  // namespace pellacore
